#include "ConfigTransfer.h"

#include "ConfigFile.h"
#include "ConfigLayout.h"

#include "link/Hooks.h"
#include "link/TransferProgress.h"
#include "link/ZarnetCommands.h"
#include "texts.h"

#include <array>
#include <functional>
#include <string_view>

namespace vextor {
namespace {

constexpr int kProgressMaximum = 100;

// Views refilled by each read step. KindSystems and Options (block 318-345) steer every tactic tab;
// TimeWorkPump (block 432-493) is shown by the heating tab, the fan settings by the supply one.
constexpr ConfigViews kTacticViews =
    ViewSupplyVentilation | ViewHeating | ViewHotWater | ViewProcess | ViewRecuperation;

bool stopped(const TransferStop& stop) {
    return stop && stop();
}

// The shared step loop: position the bar, then attempts until one succeeds, four attempts in all,
// or a single attempt once the transfer has failed. A stop ends the step before its next attempt.
bool runStep(TransferProgress& progress, int index, int stepCount, const char* text, bool& transferFailed,
             const TransferStop& stop, const std::function<bool()>& attempt) {
    progress.setPosition(kProgressMaximum * index / stepCount);
    int attempts = 0;
    for (;;) {
        if (stopped(stop)) {
            transferFailed = true;
            return false;
        }
        sleepMs(kRequestPauseMs);
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

// The bytes from the first byte of one field to the last byte of another, by their layout names.
consteval MemoryRange range(std::string_view first, std::string_view last = {}) {
    const layout::Span s = layout::span(first, last);
    return {s.address, s.count};
}

constexpr MemoryRange kConditions = range("Conditions");

std::vector<MemoryRange> conditionChunks() {
    std::vector<MemoryRange> r;
    for (uint32_t a = kConditions.address; a < kConditions.address + kConditions.count; a += kConditionChunk)
        r.push_back({a, kConditionChunk});
    return r;
}

} // namespace

const std::vector<ReadStep>& configurationReadPlan() {
    static const std::vector<ReadStep> plan = {
        {texts::kReadStep3, range("MB_Params", "MB_Address"), ViewModbus},
        {texts::kReadStep66, range("ArrSensors"), ViewSensors},
        {texts::kReadStep150, range("AdrNumAIn"), ViewAnalogInputs},
        {texts::kReadStep178, range("AdrNumAOut"), ViewAnalogOutputs},
        {texts::kReadStep190, range("AdrNumDIn"), ViewDiscreteInputs},
        {texts::kReadStep254, range("AdrNumDut"), ViewDiscreteOutputs},
        {texts::kReadStep318, range("SummerBegin", "TimeNoAsking"), kTacticViews | ViewGeneral | ViewSlaves},
        {texts::kReadStep346, range("PresetTempAir", "TempBWDeltaT"), kTacticViews},
        {texts::kReadStep432, range("DC1FullTime", "KoefCounters"),
         ViewDriveControl | ViewGeneral | ViewSlaves | ViewSupplyVentilation | ViewHeating},
        {texts::kReadStep494, range("SPVPIDKoef"), ViewSupplyVentilation},
        {texts::kReadStep548, range("PIDKoef"), ViewHeating | ViewHotWater | ViewProcess | ViewRecuperation},
        {texts::kReadStep620, kConditions, ViewConditions},
        {texts::kReadStep1132, range("Calendars"), ViewCalendar | ViewCalendarLoaded},
    };
    return plan;
}

const std::vector<WriteStep>& configurationWritePlan() {
    using S = WriteSection;
    static const std::vector<WriteStep> plan = {
        {S::Sensors, texts::kWriteSensors, {range("ArrSensors")}, true},
        {S::AnalogInOut, texts::kWriteAnalogInOut, {range("AdrNumAIn"), range("AdrNumAOut")}, false},
        {S::DiscreteInOut, texts::kWriteDiscreteInOut, {range("AdrNumDIn"), range("AdrNumDut")}, true},
        {S::SupplyVentilation,
         texts::kWriteSupplyVentilation,
         {range("DelayOnVent1", "TimeHeatDoor"), range("KindSystems", "Options"),
          range("PresetTempAir", "PresetTempWarming"), range("SPVCascadeKoef", "BotBorderForCooling"),
          range("TempStTempBW"),
          // The fan settings run on over TimeWorkPump and two reserved bytes to KoefOutVent.
          range("DefaultSpeedInVent", "KoefOutVent"), range("SPVPIDKoef")},
         false},
        {S::Heating,
         texts::kWriteHeating,
         {range("KindSystems", "Options"), range("DeltaTNightDay", "SHCascadeKoef"),
          range("MinTempBackWater"), range("TempStTempH", "TempBWDeltaT"), range("PIDKoef[0]"),
          range("TimeWorkPump")},
         false},
        {S::HotWater,
         texts::kWriteHotWater,
         {range("KindSystems"), range("PresetTempWaterHWP"), range("PIDKoef[1]")},
         false},
        {S::Process,
         texts::kWriteProcess,
         {range("KindSystems"), range("PresetAnyParam"), range("PIDKoef[2]")},
         false},
        {S::Recuperation,
         texts::kWriteRecuperation,
         {range("KindSystems"), range("RecupWinterDeltaTmin", "RecupSummerUmax"), range("TminGlick"),
          range("PIDKoef[3]")},
         false},
        {S::DriveControl, texts::kWriteDriveControl, {range("DC1FullTime", "DCFlags")}, false},
        {S::General,
         texts::kWriteGeneral,
         {range("MB_Params", "MB_Address"), range("SummerBegin", "TimeNoAsking"),
          range("DAC1erProcent", "DAC2erTime"), range("Slaves"), range("KoefCounters")},
         true},
        {S::Conditions, texts::kWriteConditions, conditionChunks(), false},
        {S::Calendar, texts::kWriteCalendar, {range("Calendars")}, false},
    };
    return plan;
}

bool readConfiguration(ZarnetLink& link, ConfigImage& image, TransferProgress& progress,
                       ConfigObserver* observer, const TransferStop& stop) {
    const auto& plan = configurationReadPlan();
    const int stepCount = static_cast<int>(plan.size());
    bool transferFailed = false;
    progress.begin(QString::fromUtf8(texts::kReadTitle), kProgressMaximum);

    for (int i = 0; i < stepCount; ++i) {
        const ReadStep& step = plan[i];
        bool anyDecoded = false;
        auto attempt = [&]() -> bool {
            std::array<uint8_t, kFrameBufferSize> bytes{};
            if (step.range.address == kConditions.address) {
                // The condition block comes in 64-byte chunks, each taken at once; a failed chunk
                // sends the next attempt back to the first one.
                for (uint32_t off = 0; off < step.range.count; off += kConditionChunk) {
                    if (off > 0 && stopped(stop))
                        return false;
                    sleepMs(kRequestPauseMs);
                    if (!ReadMemory(link, bytes.data(), step.range.address + off, kConditionChunk))
                        return false;
                    decodeBlock(image, step.range.address + off, kConditionChunk, bytes.data());
                    anyDecoded = true;
                }
                return true;
            }
            if (!ReadMemory(link, bytes.data(), step.range.address, static_cast<uint8_t>(step.range.count)))
                return false;
            decodeBlock(image, step.range.address, step.range.count, bytes.data());
            anyDecoded = true;
            return true;
        };
        runStep(progress, i, stepCount, step.text, transferFailed, stop, attempt);
        // A condition chunk that arrived is already in the image even when a later chunk failed; the
        // grid must show it, or the next "Применить" would put the old rows back.
        if (anyDecoded && observer)
            observer->configurationChanged(step.views);
        if (stopped(stop))
            break;
    }
    if (observer)
        observer->selectFirstRows();
    progress.end();
    return !transferFailed;
}

static bool writeSection(ZarnetLink& link, const ConfigImage& image, WriteSection section,
                         const TransferStop& stop) {
    const WriteStep& step = configurationWritePlan()[static_cast<size_t>(section)];
    bool first = true;
    for (const MemoryRange& r : step.ranges) {
        if (!first && stopped(stop))
            return false;
        first = false;
        if (!writeRange(link, image, r))
            return false;
        sleepMs(kRequestPauseMs);
    }
    return !step.versionMark || (!stopped(stop) && writeVersionMark(link));
}

bool writeSectionOnce(ZarnetLink& link, const ConfigImage& image, WriteSection section) {
    return writeSection(link, image, section, {});
}

bool writeConfiguration(ZarnetLink& link, const ConfigImage& image, TransferProgress& progress,
                        WriteSections sections, const TransferStop& stop) {
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
        runStep(progress, i, stepCount, step.text, transferFailed, stop,
                [&] { return writeSection(link, image, step.section, stop); });
        if (stopped(stop))
            break;
    }
    progress.end();
    return !transferFailed;
}

std::vector<MemoryRange> writtenRangesNotInFile() {
    // Two images that differ in every byte, the same file over both: what still differs where the
    // plan writes is what the file leaves alone.
    constexpr uint32_t first = 3, count = kCfgVersionAddress + 2 - first;
    std::vector<uint8_t> bytesA(count, 0x5A), bytesB(count, 0xA5);
    ConfigImage a, b, defaults;
    decodeBlock(a, first, count, bytesA.data());
    decodeBlock(b, first, count, bytesB.data());
    loadDefaultConfiguration(defaults);
    const QByteArray file = configurationFileBytes(defaults);
    applyConfigurationFileBytes(a, file);
    applyConfigurationFileBytes(b, file);
    encodeRange(a, first, count, bytesA.data());
    encodeRange(b, first, count, bytesB.data());

    std::vector<bool> notInFile(count, false);
    for (const WriteStep& step : configurationWritePlan())
        for (const MemoryRange& r : step.ranges)
            for (uint32_t x = r.address; x < r.address + r.count; ++x)
                notInFile[x - first] = notInFile[x - first] || bytesA[x - first] != bytesB[x - first];
    std::vector<MemoryRange> ranges;
    for (uint32_t i = 0; i < count; ++i) {
        if (!notInFile[i])
            continue;
        if (!ranges.empty() && ranges.back().address + ranges.back().count == first + i)
            ++ranges.back().count;
        else
            ranges.push_back({first + i, 1});
    }
    return ranges;
}

} // namespace vextor
