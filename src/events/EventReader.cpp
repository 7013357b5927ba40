#include "EventReader.h"

#include "EventRecord.h"
#include "texts.h"

#include "link/Hooks.h"
#include "link/ReplacingFile.h"
#include "link/TransferProgress.h"
#include "link/ZarnetCommands.h"

#include <algorithm>

namespace vextor::events {

QString eventReadTitle(EventReadPacing pacing) {
    return QString::fromUtf8(pacing == EventReadPacing::ProjectTask ? texts::kTaskReadTitle
                                                                    : texts::kDeviceReadTitle);
}

QString eventReadMessage(const EventReadResult& result, EventReadPacing pacing) {
    const bool task = pacing == EventReadPacing::ProjectTask;
    switch (result.status) {
    case EventReadStatus::Complete:
        return task ? QString::fromUtf8(texts::kTaskReadDone) : QString();
    case EventReadStatus::GaveUp:
        return QString::fromUtf8(task ? texts::kTaskReadFailed : texts::kFiveFailedAttempts);
    case EventReadStatus::FileError:
        return result.errorText;
    }
    return {};
}

EventReadResult readEventLog(ZarnetLink& link, const QString& path, EventReadPacing pacing,
                             TransferProgress& progress, const EventReadListener& listener,
                             EventReadMode mode) {
    EventReadResult result;
    // The records collect in a temporary file; the engineer's previous log is replaced only when
    // there is something to replace it with.
    ReplacingFile file(path);
    if (!file.open()) {
        result.status = EventReadStatus::FileError;
        result.errorText = file.errorString();
        return result;
    }

    const bool task = pacing == EventReadPacing::ProjectTask;
    progress.begin(eventReadTitle(pacing), kEventSlotCount);
    int shownRepeats = -1;
    auto showRepeats = [&](int repeats) {
        if (repeats == shownRepeats)
            return;
        shownRepeats = repeats;
        if (listener.repeatCount)
            listener.repeatCount(repeats);
        if (task)
            progress.step(QString::fromUtf8(texts::kRepeatCount) + QString::number(repeats));
    };

    // Asked before every request: false when the read is to end there.
    auto mayRequest = [&](int repeats) {
        showRepeats(repeats);
        if (listener.stopRequested && listener.stopRequested()) {
            result.stopped = true;
            return false;
        }
        if (listener.abandonRequested && listener.abandonRequested()) {
            result.stopped = true;
            result.abandoned = true;
            return false;
        }
        // The project task paces every request.
        if (task)
            sleepMs(kRequestPauseMs);
        return true;
    };
    // Appends one record to the file; false on a file error.
    auto store = [&](int slot, const uint8_t* record) {
        if (!file.write(reinterpret_cast<const char*>(record), kEventRecordSize)) {
            result.status = EventReadStatus::FileError;
            result.errorText = file.errorString();
            return false;
        }
        ++result.recordsRead;
        if (listener.recordCounter)
            listener.recordCounter(slot);
        if (!task)
            progress.step(QString::number(slot));
        progress.setPosition(task ? slot : slot + 1);
        return true;
    };

    const bool fast = mode == EventReadMode::Fast;
    uint8_t buffer[kFastRecordsPerRequest * kEventRecordSize];
    int slot = 0;
    bool ended = false;
    while (slot < kEventSlotCount && !ended) {
        // Without a range read (or after one that failed) the records up to rangeEnd go one by one.
        int rangeEnd = slot + 1;
        if (fast) {
            const int count = std::min(kFastRecordsPerRequest, kEventSlotCount - slot);
            bool received = false;
            for (int request = 0; request < kFastRequestsPerRange && !received; ++request) {
                if (!mayRequest(request)) {
                    ended = true;
                    break;
                }
                received = ReadMemory(link, buffer, eventSlotAddress(slot),
                                      static_cast<uint8_t>(count * kEventRecordSize));
            }
            if (ended) {
                result.status = EventReadStatus::GaveUp;
                result.failedSlot = slot;
                break;
            }
            if (received) {
                for (int i = 0; i < count && !ended; ++i)
                    ended = !store(slot + i, buffer + i * kEventRecordSize);
                slot += count;
                if (!task)
                    sleepMs(10);
                continue;
            }
            rangeEnd = slot + count;
        }
        for (; slot < rangeEnd; ++slot) {
            bool received = false;
            for (int request = 0; request < kRequestsPerSlot && !received; ++request) {
                if (!mayRequest(request))
                    break;
                received = ReadMemory(link, buffer, eventSlotAddress(slot), kEventRecordSize);
            }
            if (!received) {
                result.status = EventReadStatus::GaveUp;
                result.failedSlot = slot;
                ended = true;
                break;
            }
            if (!store(slot, buffer)) {
                ended = true;
                break;
            }
            if (!task)
                sleepMs(10);
        }
    }

    if (result.status == EventReadStatus::FileError || result.recordsRead == 0 || result.abandoned) {
        file.cancel();
    } else if (!file.commit()) {
        // A full disk or a file-size limit shows here at the latest: the old file stays.
        result.status = EventReadStatus::FileError;
        result.errorText = file.errorString();
    } else {
        result.fileReplaced = true;
    }
    progress.end();
    return result;
}

} // namespace vextor::events
