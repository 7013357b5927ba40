// The configuration file: loaded from the disk into an image, saved again, dumped as text.
#include "FuzzSupport.h"

#include "config/ConfigDump.h"
#include "config/ConfigFile.h"
#include "config/ConfigImage.h"

#include <array>

using namespace vextor;
using namespace vextor::fuzz;

namespace {

class CountingObserver : public ConfigObserver {
public:
    int calls = 0;
    void configurationChanged(ConfigViews) override { ++calls; }
    void selectFirstRows() override { ++calls; }
    void showFirstPage() override { ++calls; }
};

// The bytes of the file the image keeps: everything but the file's reserved bytes, which a saved
// file writes as 0. Found once by reading a file of 0xFF and saving it.
const std::array<bool, kConfigFileSize>& keptBytes() {
    static const std::array<bool, kConfigFileSize> kept = [] {
        ConfigImage image;
        applyConfigurationFileBytes(image, QByteArray(kConfigFileSize, '\xFF'));
        const QByteArray saved = configurationFileBytes(image);
        std::array<bool, kConfigFileSize> k{};
        for (int i = 0; i < kConfigFileSize; ++i)
            k[static_cast<size_t>(i)] = saved[i] == '\xFF';
        return k;
    }();
    return kept;
}

// A float of -0 is saved as +0 (the controller would read -0 as the implausible marker): its top
// byte is the only one that changes.
bool negativeZeroTop(const QByteArray& in, int i) {
    return i >= 3 && in[i] == '\x80' && in[i - 1] == 0 && in[i - 2] == 0 && in[i - 3] == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray in(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = scratchFile("plant.bin", data, size);

    ConfigImage image;
    loadDefaultConfiguration(image);
    const ConfigImage before = image;
    CountingObserver observer;
    const ConfigFileResult result = loadConfigurationFile(image, path, &observer);

    if (size > static_cast<size_t>(kConfigFileSize)) {
        // A longer file is another kind of file: nothing changes.
        FUZZ_CHECK(!result.success && !result.errorText.isEmpty());
        FUZZ_CHECK(configurationFileBytes(image) == configurationFileBytes(before));
        FUZZ_CHECK(observer.calls == 0);
        return 0;
    }
    FUZZ_CHECK(result.success && result.errorText.isEmpty() && !result.logLine.isEmpty());
    FUZZ_CHECK(result.warningText.isEmpty() == (size == static_cast<size_t>(kConfigFileSize)));
    FUZZ_CHECK(observer.calls == 3);

    // Saved again, the file keeps every byte it carried but its reserved ones.
    const QByteArray saved = configurationFileBytes(image);
    FUZZ_CHECK(saved.size() == kConfigFileSize);
    if (size == static_cast<size_t>(kConfigFileSize)) {
        const auto& kept = keptBytes();
        for (int i = 0; i < kConfigFileSize; ++i) {
            if (kept[static_cast<size_t>(i)])
                FUZZ_CHECK(saved[i] == in[i] || (negativeZeroTop(in, i) && saved[i] == 0));
            else
                FUZZ_CHECK(saved[i] == 0);
        }
    }
    // And what it saves reads back to an image that saves the same bytes (compared as bytes: a NaN
    // is never equal to itself).
    ConfigImage again;
    loadDefaultConfiguration(again);
    FUZZ_CHECK(applyConfigurationFileBytes(again, saved) == kConfigFileSize);
    FUZZ_CHECK(configurationFileBytes(again) == saved);

    FUZZ_CHECK(!configurationDumpLines(image).isEmpty());
    return 0;
}
