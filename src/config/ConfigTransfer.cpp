#include "ConfigTransfer.h"

#include "link/Hooks.h"
#include "link/TransferProgress.h"
#include "link/ZarnetCommands.h"
#include "texts.h"

#include <array>
#include <functional>

namespace vextor {
namespace {

constexpr int kProgressMaximum = 100;

// Views refilled by each read step. KindSystems and Options (block 318-345) steer every tactic tab;
// TimeWorkPump (block 432-493) is shown by the heating tab, the fan settings by the supply one.
constexpr ConfigViews kTacticViews =
    ViewSupplyVentilation | ViewHeating | ViewHotWater | ViewProcess | ViewRecuperation;

// The shared step loop: position the bar, then attempts until one succeeds, four attempts in all,
// or a single attempt once the transfer has failed.
bool runStep(TransferProgress& progress, int index, int stepCount, const char* text, bool& transferFailed,
             const std::function<bool()>& attempt) {
    progress.setPosition(kProgressMaximum * index / stepCount);
    int attempts = 0;
    for (;;) {
        sleepMs(kTransferPauseMs);
        progress.step(QString::fromUtf8(text) + QString::number(attempts + 1));
        if (attempt())
            return true;
        ++attempts;
        if (attempts >= kStepAttempts)
            transferFailed = true;
        if (transferFailed)
            return false;
    }
}

bool writeRange(ZarnetLink& link, const ConfigImage& image, const MemoryRange& r) {
    std::array<uint8_t, kFrameBufferSize> bytes{};
    encodeRange(image, r.address, r.count, bytes.data());
    return WriteMemory(link, bytes.data(), r.address, static_cast<uint8_t>(r.count));
}

bool writeVersionMark(ZarnetLink& link) {
    const uint8_t mark[2] = {static_cast<uint8_t>(kConfigLayoutVersion & 0xFF),
                             static_cast<uint8_t>(kConfigLayoutVersion >> 8)};
    return WriteMemory(link, mark, kCfgVersionAddress, 2);
}

std::vector<MemoryRange> conditionChunks() {
    std::vector<MemoryRange> r;
    for (uint32_t j = 0; j < kConditionCount * 16 / kConditionChunk; ++j)
        r.push_back({620 + kConditionChunk * j, kConditionChunk});
    return r;
}

} // namespace

const std::vector<ReadStep>& configurationReadPlan() {
    static const std::vector<ReadStep> plan = {
        {texts::kReadStep3, 3, 3, ViewModbus},
        {texts::kReadStep66, 66, 84, ViewSensors},
        {texts::kReadStep150, 150, 28, ViewAnalogInputs},
        {texts::kReadStep178, 178, 12, ViewAnalogOutputs},
        {texts::kReadStep190, 190, 64, ViewDiscreteInputs},
        {texts::kReadStep254, 254, 64, ViewDiscreteOutputs},
        {texts::kReadStep318, 318, 28, kTacticViews | ViewGeneral | ViewSlaves},
        {texts::kReadStep346, 346, 86, kTacticViews},
        {texts::kReadStep432, 432, 62,
         ViewDriveControl | ViewGeneral | ViewSlaves | ViewSupplyVentilation | ViewHeating},
        {texts::kReadStep494, 494, 54, ViewSupplyVentilation},
        {texts::kReadStep548, 548, 72, ViewHeating | ViewHotWater | ViewProcess | ViewRecuperation},
        {texts::kReadStep620, 620, 512, ViewConditions},
        {texts::kReadStep1132, 1132, 60, ViewCalendar},
    };
    return plan;
}

const std::vector<WriteStep>& configurationWritePlan() {
    using S = WriteSection;
    static const std::vector<WriteStep> plan = {
        {S::Sensors, texts::kWriteSensors, {{66, 84}}, true},
        {S::AnalogInOut, texts::kWriteAnalogInOut, {{150, 28}, {178, 12}}, false},
        {S::DiscreteInOut, texts::kWriteDiscreteInOut, {{190, 64}, {254, 64}}, true},
        {S::SupplyVentilation,
         texts::kWriteSupplyVentilation,
         {{333, 6}, {341, 3}, {346, 8}, {374, 26}, {408, 8}, {468, 10}, {494, 54}},
         false},
        {S::Heating,
         texts::kWriteHeating,
         {{341, 3}, {362, 20}, {392, 1}, {416, 16}, {548, 18}, {471, 1}},
         false},
        {S::HotWater, texts::kWriteHotWater, {{341, 1}, {354, 4}, {566, 18}}, false},
        {S::Process, texts::kWriteProcess, {{341, 1}, {358, 4}, {584, 18}}, false},
        {S::Recuperation, texts::kWriteRecuperation, {{341, 1}, {400, 8}, {340, 1}, {602, 18}}, false},
        {S::DriveControl, texts::kWriteDriveControl, {{432, 7}}, false},
        {S::General, texts::kWriteGeneral, {{3, 3}, {318, 28}, {439, 4}, {444, 24}, {478, 16}}, true},
        {S::Conditions, texts::kWriteConditions, conditionChunks(), false},
        {S::Calendar, texts::kWriteCalendar, {{1132, 60}}, false},
    };
    return plan;
}

bool readConfiguration(ZarnetLink& link, ConfigImage& image, TransferProgress& progress,
                       ConfigObserver* observer) {
    const auto& plan = configurationReadPlan();
    const int stepCount = static_cast<int>(plan.size());
    bool transferFailed = false;
    progress.begin(QString::fromUtf8(texts::kReadTitle), kProgressMaximum);

    for (int i = 0; i < stepCount; ++i) {
        const ReadStep& step = plan[i];
        bool anyDecoded = false;
        auto attempt = [&]() -> bool {
            std::array<uint8_t, kFrameBufferSize> bytes{};
            if (step.address == 620) {
                // The condition block comes in 64-byte chunks, each taken at once; a failed chunk
                // sends the next attempt back to the first one.
                for (uint32_t off = 0; off < step.count; off += kConditionChunk) {
                    sleepMs(kTransferPauseMs);
                    if (!ReadMemory(link, bytes.data(), step.address + off, kConditionChunk))
                        return false;
                    decodeBlock(image, step.address + off, kConditionChunk, bytes.data());
                    anyDecoded = true;
                }
                return true;
            }
            if (!ReadMemory(link, bytes.data(), step.address, static_cast<uint8_t>(step.count)))
                return false;
            decodeBlock(image, step.address, step.count, bytes.data());
            anyDecoded = true;
            return true;
        };
        runStep(progress, i, stepCount, step.text, transferFailed, attempt);
        // A condition chunk that arrived is already in the image even when a later chunk failed; the
        // grid must show it, or the next "Применить" would put the old rows back.
        if (anyDecoded && observer)
            observer->configurationChanged(step.views);
    }
    if (observer)
        observer->selectFirstRows();
    progress.end();
    return !transferFailed;
}

bool writeSectionOnce(ZarnetLink& link, const ConfigImage& image, WriteSection section) {
    const WriteStep& step = configurationWritePlan()[static_cast<size_t>(section)];
    for (const MemoryRange& r : step.ranges) {
        if (!writeRange(link, image, r))
            return false;
        sleepMs(kTransferPauseMs);
    }
    return !step.versionMark || writeVersionMark(link);
}

bool writeConfiguration(ZarnetLink& link, const ConfigImage& image, TransferProgress& progress,
                        WriteSections sections) {
    const auto& plan = configurationWritePlan();
    const int stepCount = static_cast<int>(plan.size());
    bool transferFailed = false;
    progress.begin(QString::fromUtf8(texts::kWriteTitle), kProgressMaximum);
    for (int i = 0; i < stepCount; ++i) {
        const WriteStep& step = plan[i];
        if (!(sections & sectionBit(step.section))) {
            progress.setPosition(kProgressMaximum * i / stepCount);
            continue;
        }
        runStep(progress, i, stepCount, step.text, transferFailed,
                [&] { return writeSectionOnce(link, image, step.section); });
    }
    progress.end();
    return !transferFailed;
}

} // namespace vextor
