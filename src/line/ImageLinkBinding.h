#pragma once
// Where the active link lives while the program runs: the device-protocol address in a byte of the
// owner's (the link's DeviceAddress on the line, a field of the window), the Modbus address and
// line byte in the configuration image, as the controller keeps them.
#include "config/ConfigImage.h"
#include "project/Project.h"

#include <cstdint>

namespace vextor {

class ImageLinkBinding : public ActiveLinkBinding {
public:
    ImageLinkBinding(ConfigImage& image, uint8_t& zarnetAddress) : image_(image), zarnet_(zarnetAddress) {}
    void store(uint8_t zarnetAddress, uint8_t modbusAddress, uint8_t mbParams) override {
        zarnet_ = zarnetAddress;
        image_.MB_Address = modbusAddress;
        image_.MB_Params = mbParams;
    }
    void load(uint8_t& zarnetAddress, uint8_t& modbusAddress, uint8_t& mbParams) const override {
        zarnetAddress = zarnet_;
        modbusAddress = image_.MB_Address;
        mbParams = image_.MB_Params;
    }

private:
    ConfigImage& image_;
    uint8_t& zarnet_;
};

} // namespace vextor
