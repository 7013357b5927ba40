#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vextor::fuzz {

void failed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

bool ScriptedPort::write(const uint8_t* data, size_t count) {
    writes.emplace_back(data, data + count);
    pending_ = next_ < replies_.size() ? replies_[next_++] : Bytes{};
    answers.push_back(pending_);
    taken.emplace_back();
    return true;
}

size_t ScriptedPort::read(uint8_t* data, size_t count) {
    const size_t n = std::min(count, pending_.size());
    std::copy_n(pending_.begin(), n, data);
    if (!taken.empty())
        taken.back().insert(taken.back().end(), pending_.begin(),
                            pending_.begin() + static_cast<ptrdiff_t>(n));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<ptrdiff_t>(n));
    return n;
}

void installNoSleepClock() {
    static NoSleepClock clock;
    setClock(&clock);
}

QString scratchFolder() {
    static QTemporaryDir folder;
    return folder.path();
}

QString scratchFile(const char* name, const uint8_t* data, size_t size) {
    const QString path = QDir(scratchFolder()).filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

} // namespace vextor::fuzz
