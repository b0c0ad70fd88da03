// The shell's desktop services on the test display: the clipboard, text
// drawn by pango, the process check, tablets and the 3D-mouse driver's
// client messages.
#include <cstring>
#include <functional>

#include "support/Desktop.h"

#include "platform/linux/LinuxMainInternal.h"
#include "zozud/image/Image.h"

// Last: Xlib's macros would clash with the names above.
#include <gdk/gdkx.h>

using namespace testsupport;
using zozud::cFormat;
using zozud::cImage;

namespace {

class Services : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    }
};

int NextPowerOfTwo(int n, int low, int high) {
    int p = low;
    while (p < n && p < high) p *= 2;
    return p;
}

}  // namespace

TEST_F(Services, ClipboardCarriesTextAndImages) {
    zozud::cStr text;
    ASSERT_TRUE(cLinuxMain_CopyToClipboard("clip \xc3\xa9t\xc3\xa9"));
    ASSERT_TRUE(cLinuxMain_CopyFromClipboard(&text));
    EXPECT_STREQ(text.ToChar(), "clip \xc3\xa9t\xc3\xa9");

    // Odd sizes catch row padding; the rows must come back in their order.
    for (cFormat::Enum format : {cFormat::Rgb8, cFormat::Rgba8}) {
        cImage image(format, 5, 3);
        for (int64_t i = 0; i < image.GetSize(); i++) image.Pixels[i] = uint8_t(i * 7 + 1);
        if (format == cFormat::Rgba8)
            for (int64_t i = 3; i < image.GetSize(); i += 4) image.Pixels[i] = 255;  // opaque: no premultiplying
        ASSERT_TRUE(cLinuxMain_CopyImageToClipboard(image));
        cImage back;
        ASSERT_TRUE(cLinuxMain_CopyImageFromClipboard(&back)) << cFormat::ToString(format);
        ASSERT_TRUE(back.Width == 5 && back.Height == 3 && back.Format == format);
        EXPECT_EQ(memcmp(back.Pixels, image.Pixels, size_t(image.GetSize())), 0) << cFormat::ToString(format);
    }
    // A grey image goes as RGB.
    cImage grey(cFormat::R8, 2, 2);
    memset(grey.Pixels, 90, 4);
    ASSERT_TRUE(cLinuxMain_CopyImageToClipboard(grey));
    cImage back;
    ASSERT_TRUE(cLinuxMain_CopyImageFromClipboard(&back));
    EXPECT_EQ(back.Format, cFormat::Rgb8);
    EXPECT_EQ(back.Pixels[5], 90);
    EXPECT_FALSE(cLinuxMain_CopyImageToClipboard(cImage()));

    // Text on the clipboard is not an image, and the image reader says so.
    ASSERT_TRUE(cLinuxMain_CopyToClipboard("no image"));
    back = grey;
    EXPECT_FALSE(cLinuxMain_CopyImageFromClipboard(&back));
    EXPECT_TRUE(back.IsEmpty());
}

TEST_F(Services, DrawnTextFillsAPowerOfTwoImage) {
    cMain_SetTextSize(8);
    // Grows a text until it is between 33 and 64 pixels wide: a 40 by 10 text
    // gives 64 by 32.
    std::string text = "M";
    int w = 0, h = 0;
    cImage image;
    while (w <= 32) {
        text += "M";
        ASSERT_TRUE(cMain_DrawText(text.c_str(), &image, &w, &h));
    }
    ASSERT_TRUE(w <= 64 && h <= 32);
    EXPECT_TRUE(image.Width == 64 && image.Height == 32 && image.Format == cFormat::Rgb8);
    // The glyphs are there: the pixels are not all one colour, and the rows
    // of the text are at the image's top, its last rows.
    int64_t rowBytes = image.GetRowSize();
    auto rowHasInk = [&](int y) {
        for (int64_t i = 0; i < rowBytes; i++)
            if (image.Pixels[rowBytes * y + i] != image.Pixels[0]) return true;
        return false;
    };
    bool inkTop = false;
    for (int y = image.Height - h; y < image.Height; y++) inkTop |= rowHasInk(y);
    EXPECT_TRUE(inkTop);
    EXPECT_FALSE(rowHasInk(0));

    // Empty and huge texts stay within 32..16384 by 32..4096.
    cMain_SetTextSize(72);
    for (const std::string& t : {std::string(""), std::string("Wide text "), std::string(600, 'W')}) {
        ASSERT_TRUE(cMain_DrawText(t.c_str(), &image, &w, &h)) << t.size();
        EXPECT_EQ(image.Width, NextPowerOfTwo(w, 32, 16384)) << t.size();
        EXPECT_EQ(image.Height, NextPowerOfTwo(h, 32, 4096)) << t.size();
    }
    EXPECT_EQ(image.Width, 16384);
    EXPECT_FALSE(cMain_DrawText("x", nullptr, &w, &h));
}

TEST(ProcessCheck, FindsThisProgramAndNotAnInventedOne) {
    EXPECT_TRUE(cLinuxMain_CheckProcessInMemory("platform_tests"));
    EXPECT_TRUE(cLinuxMain_CheckProcessInMemory("PLATFORM_TESTS"));
    EXPECT_FALSE(cLinuxMain_CheckProcessInMemory("zozud_no_such_program_running"));
    EXPECT_FALSE(cLinuxMain_CheckProcessInMemory("platform_test"));
    EXPECT_FALSE(cLinuxMain_CheckProcessInMemory(""));
}

TEST_F(Services, TabletDiscoveryWithoutATabletLeavesNoPenDown) {
    cLinuxMain_InitTablet();
    int pressure = 1, fourth = 0;
    bool pen = true, eraser = true;
    cMain_GetTabletState(&pressure, &pen, &eraser, &fourth);
    EXPECT_TRUE(pressure == 0 && !pen && !eraser && fourth == -1);
    cMain_GetTabletState(nullptr, nullptr, nullptr, nullptr);
}

// The driver's messages go to a real window through the X server and come
// out of GDK's filter as the 3D mouse's state.
TEST_F(Services, TheDriversClientMessagesMoveThe3DMouse) {
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    bool driverAtoms = XInternAtom(display, "MotionEvent", True) && XInternAtom(display, "ButtonPressEvent", True) &&
                       XInternAtom(display, "ButtonReleaseEvent", True);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_realize(window);
    if (!driverAtoms) {  // a fresh display: no driver has made its atoms yet
        EXPECT_FALSE(cLinuxMain_3Dconnexion::InitEvents());
    }
    // The driver interns its atoms; now the shell finds it.
    Atom motion = XInternAtom(display, "MotionEvent", False);
    Atom press = XInternAtom(display, "ButtonPressEvent", False);
    Atom release = XInternAtom(display, "ButtonReleaseEvent", False);
    EXPECT_TRUE(cLinuxMain_3Dconnexion::InitEvents());
    cLinuxMain_3Dconnexion::Init(window->window);

    Window xid = GDK_WINDOW_XID(window->window);
    auto send = [&](Atom type, std::initializer_list<short> words, int format = 16) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.display = display;
        event.xclient.window = xid;
        event.xclient.message_type = type;
        event.xclient.format = format;
        int i = 0;
        for (short w : words) event.xclient.data.s[i++] = w;
        XSendEvent(display, xid, False, 0, &event);
        XSync(display, False);
    };
    struct State { float t[3], r[3]; int b[2]; };
    auto state = [] {
        State s;
        cLinuxMain_3Dconnexion::GetState(s.t, s.r, s.b);
        return s;
    };
    auto settle = [](std::function<bool()> done) {
        return WaitFor([&] {
            while (gtk_events_pending()) gtk_main_iteration();
            return done();
        }, 5000, 10);
    };
    send(motion, {0, 0, 10, -20, 30, -1, 2, -32768});
    ASSERT_TRUE(settle([&] { return state().t[0] == 10; }));
    State s = state();
    EXPECT_TRUE(s.t[1] == -20 && s.t[2] == 30 && s.r[0] == -1 && s.r[1] == 2 && s.r[2] == -32768);

    // Button 2 down, an unknown button and a 32-bit message change nothing, button 2 up.
    send(press, {0, 0, 2});
    send(press, {0, 0, 7});
    send(motion, {0, 0, 99}, 32);
    ASSERT_TRUE(settle([&] { return state().b[1] == 1; }));
    EXPECT_EQ(state().b[0], 0);
    EXPECT_EQ(state().t[0], 10);
    send(release, {0, 0, 2});
    ASSERT_TRUE(settle([&] { return state().b[1] == 0; }));

    // Other messages pass the filter on.
    XEvent other = {};
    other.xclient.type = ClientMessage;
    other.xclient.format = 16;
    other.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    EXPECT_EQ(cLinuxMain_3Dconnexion::FilterProc(&other, nullptr, nullptr), GDK_FILTER_CONTINUE);
    other.xclient.message_type = press;
    EXPECT_EQ(cLinuxMain_3Dconnexion::FilterProc(&other, nullptr, nullptr), GDK_FILTER_REMOVE);
    gtk_widget_destroy(window);
    while (gtk_events_pending()) gtk_main_iteration();
}
