// The yardstick of our Modbus master: the same identification read (three holding registers from
// 60001) through libmodbus's RTU client, on the same port and line settings (9600 baud 8N1).
//   vextor-modbus-libmodbus PORT ADDRESS REPEATS
// Prints "ok=N type=T firmware=F panel=P times_ms=T1,T2,..." for the repeated reads.
#include <modbus.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: vextor-modbus-libmodbus PORT ADDRESS REPEATS\n");
        return 2;
    }
    const int address = std::atoi(argv[2]);
    const int repeats = std::atoi(argv[3]) > 0 ? std::atoi(argv[3]) : 1;
    modbus_t* ctx = modbus_new_rtu(argv[1], 9600, 'N', 8, 1);
    if (!ctx || modbus_set_slave(ctx, address) != 0 || modbus_connect(ctx) != 0) {
        std::fprintf(stderr, "vextor-modbus-libmodbus: %s: %s\n", argv[1], modbus_strerror(errno));
        return 3;
    }
    std::vector<double> times;
    uint16_t regs[3] = {};
    for (int i = 0; i < repeats; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        const int n = modbus_read_registers(ctx, 60001, 3, regs);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (n == 3)
            times.push_back(ms);
        else
            std::fprintf(stderr, "vextor-modbus-libmodbus: read failed: %s\n", modbus_strerror(errno));
    }
    modbus_close(ctx);
    modbus_free(ctx);
    if (times.empty())
        return 1;
    std::printf("ok=%zu type=%u firmware=%u panel=%u times_ms=", times.size(), regs[0] & 0xFF, regs[1] & 0xFF,
                regs[2] & 0xFF);
    for (size_t i = 0; i < times.size(); ++i)
        std::printf(i ? ",%.2f" : "%.2f", times[i]);
    std::printf("\n");
    return 0;
}
