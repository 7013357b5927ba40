// The program's '|'-separated file filters as the Qt file dialog needs them.
#include "app/QtUserDialogs.h"

#include <gtest/gtest.h>

namespace vextor {
namespace {

TEST(FileFilter, ProgramFiltersBecomeQtFilters) {
    const struct {
        const char* program;
        const char* qt;
    } cases[] = {
        {"Файлы конфигурации (*.bin)|*.bin|Все файлы (*.*)|*.*", "Файлы конфигурации (*.bin);;Все файлы (*)"},
        {"Файлы событий (*.blb)|*.blb|Все файлы|*.*", "Файлы событий (*.blb);;Все файлы (*)"},
        {"Файлы проекта (*.prj);;Все файлы (*)", "Файлы проекта (*.prj);;Все файлы (*)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qtFileFilter(QString::fromUtf8(c.program)), QString::fromUtf8(c.qt)) << c.program;
}

} // namespace
} // namespace vextor
