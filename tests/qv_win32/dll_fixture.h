#pragma once
// Tests on COM1 of qv.dll: the device player (device_line.h) holds the
// pseudo-terminal behind it. Each test opens COM1 and starts with nothing
// received and nothing armed.

#include "command_table.h"
#include "device_line.h"
#include "qv_imports.h"

#include <string>
#include <vector>
#include <windows.h>

namespace qv::test {

class OnCom1 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QVOpenPort(1, "9600,N,8,1"), 1);
        device().clear();
    }
    void TearDown() override {
        QVClosePort(1);
        QVClosePort13();
    }

    static DeviceLine& device() { return DeviceLine::instance(); }

    // True once COM1's input queue holds count bytes (within 2 s): the queue
    // count (GetComErr item 9) after each refresh (item 1).
    static bool waitForInput(int32_t count) {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 2000) {
            if (GetComErr(1, 1) == 0 && GetComErr(1, 9) >= count)
                return true;
            Sleep(5);
        }
        return false;
    }

    // Each send's bytes one after the other, as the device receives them.
    static Bytes joined(const std::vector<std::string>& sends) {
        Bytes out;
        for (const std::string& s : sends) {
            Bytes b = hex(s);
            out.insert(out.end(), b.begin(), b.end());
        }
        return out;
    }
};

} // namespace qv::test
