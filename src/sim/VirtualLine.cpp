#include "VirtualLine.h"

#include "PtyTransport.h"
#include "SimLine.h"
#include "link/ControllerMemory.h"

#include <QDateTime>
#include <algorithm>
#include <chrono>

namespace vextor {

namespace {

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

sim::DeviceDateTime nowOnDevice() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(),  now.date().day(),
            now.time().hour(), now.time().minute(), now.time().second()};
}

} // namespace

sim::ControllerSettings virtualVextor(uint8_t zarnetAddress, uint8_t modbusAddress) {
    sim::ControllerSettings s;
    s.address = zarnetAddress;
    s.modbusAddress = modbusAddress;
    s.seed = zarnetAddress;
    return s;
}

VirtualLine::VirtualLine()
    : line_(std::make_unique<sim::SimLine>()), pty_(std::make_unique<sim::PtyTransport>()) {}

VirtualLine::~VirtualLine() {
    stop();
}

bool VirtualLine::addController(const sim::ControllerSettings& settings, bool modbusMode,
                                std::span<const uint8_t> image) {
    sim::Bytes bytes(sim::kImageSize, 0);
    std::copy_n(image.begin(), std::min<size_t>(image.size(), sim::kImageSize), bytes.begin());
    if (modbusMode)
        bytes[kProtocolSelectorAddress - sim::kImageFirst] = kSwitchToModbus;
    return line_->addController(
        std::make_unique<sim::SimController>(settings, bytes, nowOnDevice(), steadyMs()));
}

bool VirtualLine::start(QString& error) {
    std::string why;
    if (!pty_->open(why)) {
        error = QString::fromStdString(why);
        return false;
    }
    stop_ = false;
    thread_ = std::thread([this] { pty_->serve(*line_, 0, stop_, steadyMs); });
    return true;
}

void VirtualLine::stop() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

QString VirtualLine::portPath() const {
    return QString::fromStdString(pty_->slavePath());
}

} // namespace vextor
