#include <gtest/gtest.h>

#include "platform/system/session_type.h"

namespace tallowby::platform {
namespace {

TEST(SessionType, WaylandIsToldFromTheSessionTypeAndElseFromTheWaylandDisplay) {
    const struct {
        const char* type;
        const char* display;
        bool wayland;
    } cases[] = {{"wayland", nullptr, true},   {"wayland", "wayland-0", true}, {"x11", "wayland-0", false},
                 {nullptr, "wayland-0", true}, {"", "wayland-0", true},        {"tty", "", false},
                 {nullptr, nullptr, false},    {"x11", nullptr, false}};
    for (const auto& c : cases)
        EXPECT_EQ(isWaylandSession(c.type, c.display), c.wayland)
            << (c.type ? c.type : "(unset)") << " / " << (c.display ? c.display : "(unset)");
}

} // namespace
} // namespace tallowby::platform
