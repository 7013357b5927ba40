// Form.ini, the main window's geometry, read from the disk.
#include "FuzzSupport.h"

#include "app/FormIni.h"

using namespace vextor;
using namespace vextor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = scratchFile("Form.ini", data, size);
    const std::optional<FormGeometry> g = readFormIni(path);
    FUZZ_CHECK(g.has_value() == (size >= static_cast<size_t>(kFormIniSize)));
    if (!g)
        return 0;
    for (const int32_t v :
         {g->height, g->left, g->top, g->width, g->modePanelWidth, g->treePanelWidth, g->logHeight})
        FUZZ_CHECK(v >= kFormIniMinimum && v <= kFormIniMaximum);
    FUZZ_CHECK(g->state <= 2);
    // What is read is written back as it is.
    const QString again = scratchFile("Form2.ini", nullptr, 0);
    FUZZ_CHECK(writeFormIni(again, *g));
    FUZZ_CHECK(readFormIni(again) == g);
    return 0;
}
