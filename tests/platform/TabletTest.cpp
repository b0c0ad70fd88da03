// Pen tablets through the window's mouse handlers: GDK button, motion and
// scroll events from a stylus, an eraser and a plain mouse, each carrying its
// own axes, update the pen's state as the framework reads it.
#include "support/Desktop.h"

#include "platform/linux/LinuxMainInternal.h"
#include "platform/linux/Tablet.h"

#include <vector>

using namespace testsupport;
using zozud::cInput;

namespace {

// A GDK device made for the test; with no display it owns nothing GDK frees.
struct TestDevice {
    GdkDevice* device;
    TestDevice(const char* name, std::initializer_list<GdkDeviceAxis> axes) : axes(axes) {
        device = GDK_DEVICE(g_object_new(GDK_TYPE_DEVICE, nullptr));
        device->name = const_cast<char*>(name);
        device->source = GDK_SOURCE_PEN;
        device->num_axes = int(this->axes.size());
        device->axes = this->axes.empty() ? nullptr : this->axes.data();
    }
    ~TestDevice() {
        device->name = nullptr;
        device->axes = nullptr;
        device->num_axes = 0;
        g_object_unref(device);
    }
    std::vector<GdkDeviceAxis> axes;
};

class Tablet : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    }
    void TearDown() override {
        cLinuxMain_Tablet() = cLinuxMain_TabletState();
        cInput::FreeEvents();
    }
};

}  // namespace

TEST_F(Tablet, PenEventsSetPressureTiltAndStrokeEnd) {
    // The stylus reports pressure over 0..2 and tilt over 0..4; the eraser
    // only pressure over 0..1; the mouse no axes at all.
    TestDevice stylus("stylus", {{GDK_AXIS_X, 0, 1280}, {GDK_AXIS_Y, 0, 1024}, {GDK_AXIS_PRESSURE, 0, 2},
                                 {GDK_AXIS_XTILT, 0, 4}, {GDK_AXIS_YTILT, 0, 4}});
    TestDevice eraser("eraser", {{GDK_AXIS_PRESSURE, 0, 1}});
    TestDevice mouse("mouse", {});
    cLinuxMain_Tablet().Stylus = stylus.device;
    cLinuxMain_Tablet().Eraser = eraser.device;

    enum Kind { Press, Release, Drag, Move, Scroll };
    struct Step {
        const char* what; GdkDevice* device; Kind kind; gdouble axes[5];
        int pressure; float tiltX, tiltY; bool pen, erasing, strokeEnded;
    };
    const Step steps[] = {
        {"stylus down", stylus.device, Press, {10, 10, 1, 1, 5}, 325, -0.5f, 1, true, false, false},
        {"stylus drags", stylus.device, Drag, {11, 11, 0.999, -1, 2}, 324, -1, 0, true, false, false},
        {"pressed past the top", stylus.device, Drag, {12, 12, 3, 4, 0}, 650, 1, -1, true, false, false},
        {"stylus up", stylus.device, Release, {12, 12, -0.5, 2, 2}, 0, 0, 0, false, false, true},
        {"mouse moves", mouse.device, Move, {}, 0, 0, 0, false, false, false},
        {"hovering stylus", stylus.device, Move, {13, 13, 0, 2, 2}, 0, 0, 0, false, false, false},
        {"stylus up again", stylus.device, Release, {13, 13, 0, 2, 2}, 0, 0, 0, false, false, false},
        {"eraser down", eraser.device, Press, {0.5}, 325, 0, 0, true, true, false},
        {"mouse while erasing", mouse.device, Press, {}, 325, 0, 0, true, true, true},
        {"eraser up", eraser.device, Release, {0.25}, 162, 0, 0, false, false, true},
        {"scroll", mouse.device, Scroll, {}, 162, 0, 0, false, false, false},
        {"stylus down", stylus.device, Press, {0, 0, 2, 0, 4}, 650, -1, 1, true, false, false},
        {"mouse moves while the pen is down", mouse.device, Move, {}, 650, -1, 1, true, false, true},
    };
    for (const Step& s : steps) {
        gdouble* axes = const_cast<gdouble*>(s.axes);
        if (s.kind == Press || s.kind == Release) {
            GdkEventButton e = {};
            e.type = s.kind == Press ? GDK_BUTTON_PRESS : GDK_BUTTON_RELEASE;
            e.device = s.device, e.axes = axes, e.button = 1;
            cLinuxMain_MouseButtonHandler(nullptr, &e, nullptr);
        } else if (s.kind == Scroll) {
            GdkEventScroll e = {};
            e.type = GDK_SCROLL, e.device = s.device, e.direction = GDK_SCROLL_UP;
            cLinuxMain_MouseScrollHandler(nullptr, &e, nullptr);
        } else {
            GdkEventMotion e = {};
            e.type = GDK_MOTION_NOTIFY, e.device = s.device, e.axes = axes;
            e.state = s.kind == Drag ? GDK_BUTTON1_MASK : 0;
            cLinuxMain_MouseMotionHandler(nullptr, &e, nullptr);
        }
        int pressure = -5, fourth = 0;
        bool pen = !s.pen, erasing = !s.erasing;
        cMain_GetTabletState(&pressure, &pen, &erasing, &fourth);
        SCOPED_TRACE(s.what);
        EXPECT_EQ(pressure, s.pressure);
        EXPECT_TRUE(pen == s.pen && erasing == s.erasing && fourth == -1);
        EXPECT_FLOAT_EQ(cLinuxMain_Tablet().CurTilt[0], s.tiltX);
        EXPECT_FLOAT_EQ(cLinuxMain_Tablet().CurTilt[1], s.tiltY);
        EXPECT_EQ(cLinuxMain_Tablet().EndTimeSec >= 0, s.strokeEnded);
    }
}
