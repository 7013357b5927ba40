#include "events/EventFile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

using namespace vextor::events;

namespace {

const QString kSample = QStringLiteral(VEXTOR_FIXTURES "/events/sample.blb");

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

} // namespace

// sample.blb: five records (one of each kind of row) and two trailing bytes.
TEST(EventFile, SampleAsCsv) {
    const auto file = EventFile::load(kSample);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->count(), 5);
    EXPECT_EQ(file->bytes().size(), 45);

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeEventCsv(*file, out));
    EXPECT_EQ(QString::fromUtf8(out.data()),
              "N п/п,Источник,Дата,Время,Событие\r\n"
              "1,Собственное,15/06/10,12:30:45,(9)  Новый ключ\r\n"
              "2,Ведомого адр=3,31/12/99,23:59:45,(250)  Потеряна связь с прибором адрес = 7\r\n"
              "3,,,,Ошибка метки времени\r\n"
              "4,,,,Ошибка адреса\r\n"
              "5,Собственное,07/03/09,08:05:00,\"(149)  Тревога взлома, адрес = 4\"\r\n");
}

TEST(EventFile, SampleAsTableAndRows) {
    const auto file = EventFile::load(kSample);
    ASSERT_TRUE(file);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeEventTable(*file, out));
    const QStringList lines = QString::fromUtf8(out.data()).split(u'\n');
    ASSERT_EQ(lines.size(), 8); // label, header, five rows, the empty rest after the last newline
    EXPECT_EQ(lines[0], "Количество записей - 5");
    EXPECT_EQ(lines[1], "N п/п\tИсточник\tДата\tВремя\tСобытие");
    EXPECT_EQ(lines[4], "3\t\t\t\tОшибка метки времени");

    const auto rows = decodedEventRows(*file);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1], (QStringList{"2", "Ведомого адр=3", "31/12/99", "23:59:45",
                                    "(250)  Потеряна связь с прибором адрес = 7"}));
}

TEST(EventFile, CsvFieldQuoting) {
    EXPECT_EQ(csvField("plain text"), "plain text");
    EXPECT_EQ(csvField("a, b"), "\"a, b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("two\r\nlines"), "\"two\r\nlines\"");
}

TEST(EventFile, RecordCountIgnoresTrailingBytesAtAnySize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* name;
        qint64 size;
        qint64 records;
    } cases[] = {
        {"empty.blb", 0, 0},
        {"short.blb", 8, 0},
        {"full.blb", 6138, 682},
        {"full_plus_two.blb", 6140, 682},
        // Well past 65535 bytes, which a read never produces but a copied file may.
        {"big.blb", 9 * 10000 + 5, 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes(c.size, '\0');
        for (qint64 i = 0; i < c.size; ++i)
            bytes[i] = static_cast<char>(i % 9 == 1 ? 9 : 1); // code 9, all other fields 1
        const auto file = EventFile::load(writeFile(dir, c.name, bytes));
        ASSERT_TRUE(file);
        EXPECT_EQ(file->count(), c.records);
        EXPECT_EQ(decodedEventRows(*file).size(), static_cast<size_t>(c.records));
        if (c.records > 0) {
            EXPECT_EQ(file->row(c.records - 1)[ColNumber], QString::number(c.records));
        }
    }
}

TEST(EventFile, MissingFileIsAnErrorWithTheReason) {
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(EventFile::load(dir.filePath("absent.blb"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(missingEventFileText("C:\\logs\\a.blb"), "Файла \"C:\\logs\\a.blb\" не существует!");
}
