// The project file: read from the disk and opened as the program's project (tree, file checks,
// the listing of vextorctl), then written and read again.
#include "FuzzSupport.h"

#include "project/Project.h"
#include "project/ProjectFile.h"
#include "project/ProjectReport.h"

using namespace vextor;
using namespace vextor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = scratchFile("plant.prj", data, size);
    const ProjectFileRead read = ReadProjectFile(path);
    using Status = ProjectFileRead::Status;
    FUZZ_CHECK(read.status != Status::Unreadable && read.status != Status::TooLarge);
    if (!read.usable()) {
        // The line at fault is one of the file's, after the first (the file's own name).
        FUZZ_CHECK(read.line >= 2 && read.line <= kProjectFileLines);
        FUZZ_CHECK(!read.message(path).isEmpty());
    } else {
        FUZZ_CHECK(read.model.ProjectPath == path);
        FUZZ_CHECK(read.status == Status::Short || read.line == 0);
        FUZZ_CHECK(read.line < kProjectFileLines);
        projectShowLines(read.model, [](const QString&) { return false; });
        // Whatever the file held, the model writes a file that reads back as the same model.
        if (unstorableLine(read.model) == 0) {
            const ProjectFileRead again = parseProjectFile(formatProjectFile(read.model));
            FUZZ_CHECK(again.status == Status::Ok);
            ProjectModel expected = read.model;
            expected.ProjectPath.clear();
            FUZZ_CHECK(again.model == expected);
        }
    }

    // Opened as the program's project: a file that cannot be used changes nothing.
    SilentDialogs dialogs;
    Project project(dialogs, nullptr, scratchFolder());
    project.hooks.fileExists = [](const QString&) { return false; };
    const ProjectModel empty = project.model;
    const bool opened = project.openProjectFile(path);
    FUZZ_CHECK(opened == read.usable());
    if (!opened) {
        FUZZ_CHECK(project.model == empty);
        FUZZ_CHECK(dialogs.messages == 1);
    }
    return 0;
}
