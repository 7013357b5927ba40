#include "EventReader.h"

#include "EventRecord.h"
#include "texts.h"

#include "link/Hooks.h"
#include "link/ReplacingFile.h"
#include "link/TransferProgress.h"
#include "link/ZarnetCommands.h"

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
                             TransferProgress& progress, const EventReadListener& listener) {
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

    uint8_t record[kEventRecordSize];
    for (int slot = 0; slot < kEventSlotCount; ++slot) {
        bool received = false;
        for (int request = 0; request < kRequestsPerSlot && !received; ++request) {
            showRepeats(request);
            if (listener.stopRequested && listener.stopRequested()) {
                result.stopped = true;
                break;
            }
            if (listener.abandonRequested && listener.abandonRequested()) {
                result.stopped = true;
                result.abandoned = true;
                break;
            }
            // The project task paces every request.
            if (task)
                sleepMs(kRequestPauseMs);
            received = ReadMemory(link, record, eventSlotAddress(slot), kEventRecordSize);
        }
        if (!received) {
            result.status = EventReadStatus::GaveUp;
            result.failedSlot = slot;
            break;
        }
        if (!file.write(reinterpret_cast<const char*>(record), kEventRecordSize)) {
            result.status = EventReadStatus::FileError;
            result.errorText = file.errorString();
            break;
        }
        ++result.recordsRead;
        if (listener.recordCounter)
            listener.recordCounter(slot);
        if (!task)
            progress.step(QString::number(slot));
        progress.setPosition(task ? slot : slot + 1);
        if (!task)
            sleepMs(10);
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
