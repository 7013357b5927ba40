#pragma once
// What the application rounds share: a virtual controller on a pseudo-terminal served on a thread of
// its own, and small finders for the windows' editors and the tree's popup items.
#include "config/ConfigImage.h"
#include "project/Project.h"
#include "sim/PtyTransport.h"
#include "sim/SimController.h"
#include "sim/SimLine.h"

#include <QCoreApplication>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace vextor::testing {

inline int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// One virtual controller (device-protocol address 3) on a pseudo-terminal, served on a thread.
class VirtualController {
public:
    explicit VirtualController(const ConfigImage& image, int eventCount = 40)
        : VirtualController(memoryOf(image), eventCount) {}
    // The configuration region as the controller would hold it after a write of the image.
    static sim::Bytes memoryOf(const ConfigImage& image) {
        sim::Bytes bytes(sim::kImageSize);
        encodeRange(image, sim::kImageFirst, sim::kImageSize, bytes.data());
        return bytes;
    }
    explicit VirtualController(const sim::Bytes& bytes, int eventCount = 40) {
        sim::ControllerSettings s;
        s.address = 3;
        s.modbusAddress = 2;
        s.eventCount = eventCount;
        auto c = std::make_unique<sim::SimController>(s, bytes, sim::DeviceDateTime{2024, 5, 6, 12, 0, 0},
                                                      steadyMs());
        controller_ = c.get();
        line_.addController(std::move(c));
    }
    ~VirtualController() { stop(); }

    bool start(std::string& error) {
        if (!pty_.open(error))
            return false;
        thread_ = std::thread([this] { pty_.serve(line_, 0, stop_, steadyMs); });
        return true;
    }
    void stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    QString path() const { return QString::fromStdString(pty_.slavePath()); }
    // Only once stopped.
    const sim::Bytes& memory() const { return controller_->memory(); }

private:
    sim::SimLine line_;
    sim::PtyTransport pty_;
    sim::SimController* controller_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

template <class T> T* editorIn(QWidget* page) {
    for (QWidget* w : page->findChildren<QWidget*>())
        if (auto* t = dynamic_cast<T*>(w))
            return t;
    return nullptr;
}

inline const MenuItem* findItem(const std::vector<MenuItem>& items, const QString& caption) {
    for (const MenuItem& i : items)
        if (i.caption == caption)
            return &i;
    return nullptr;
}

// Saves a picture of the window when VEXTOR_SCREENSHOTS names a folder.
inline void saveShot(QWidget* w, const QString& name) {
    const QByteArray dir = qgetenv("VEXTOR_SCREENSHOTS");
    QCoreApplication::processEvents();
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name);
}

} // namespace vextor::testing
