// The move tool end to end: the probe application shows a cube with a move
// tool bound to its position in the framework's window on the OpenGL device;
// xdotool presses on the tool's x axis and drags. The test acts only after
// the probe has reported the state its last action leads to, and keeps
// screenshots before and after the drag in tests/output/MoveTool of the build.
#include <cmath>
#include <sstream>

#include "platform/ProbeApp.h"

using namespace testsupport;

namespace {

const int ModeX = 1;  // cTransformTool::Mode::X

struct State {
    int frame = -1, hot = -1, mode = -1, mouseX = 0, mouseY = 0, pause = -1;
    double x = 0, y = 0, z = 0;
};

class MoveToolProbe : public ProbeApp {
protected:
    void SetUp() override {
        ProbeApp::SetUp();
        if (IsSkipped()) return;
        Shell("mkdir -p '" + OutputDir() + "'");
        Start("MoveToolProbe");
        ASSERT_TRUE(WaitFor("state ")) << Output();
        Focus("Move Tool Probe");
        std::string out = Output();
        ASSERT_EQ(7, sscanf(out.c_str() + out.find("handle "), "handle %d %d %d %d %d %d %lf", &handle_[0], &handle_[1],
                            &origin_[0], &origin_[1], &unit_[0], &unit_[1], &grab_))
            << out;
        std::istringstream matrix(out.substr(out.find("matrix ") + 7));
        for (double& m : matrix_) matrix >> m;
        matrix >> width_ >> height_;
        ASSERT_TRUE(matrix && width_ > 0 && height_ > 0) << out;
    }

    // Window pixels (y down) of the world point (x, 0, 0) through the probe's matrix.
    void Project(double x, double* px, double* py) const {
        const double* m = matrix_;
        double cx = x * m[0] + m[12], cy = x * m[1] + m[13], cw = x * m[3] + m[15];
        *px = (cx / cw + 1) * 0.5 * width_;
        *py = height_ - (cy / cw + 1) * 0.5 * height_;
    }

    static std::string OutputDir() { return std::string(ZOZUD_BINARY_DIR) + "/tests/output/MoveTool"; }
    // The last state line printed.
    State Last() const {
        State last;
        std::istringstream in(Output());
        for (std::string line; std::getline(in, line);) {
            State s;
            if (sscanf(line.c_str(), "state %d %d %d %lf %lf %lf mouse %d %d pause %d", &s.frame, &s.hot, &s.mode,
                       &s.x, &s.y, &s.z, &s.mouseX, &s.mouseY, &s.pause) == 9)
                last = s;
        }
        return last;
    }
    template <class F>
    bool Until(F condition) const {
        return testsupport::WaitFor([&] { return condition(Last()); }, 15000);
    }
    void Xdotool(const std::string& args) { Shell("xdotool " + args); }
    void MoveTo(double x, double y) {
        Xdotool("mousemove --window " + window_ + " --sync " + std::to_string((int)std::lround(x)) + " " +
                std::to_string((int)std::lround(y)));
    }
    // The window as it is on the screen now.
    bool Shot(const std::string& name) {
        std::string path = OutputDir() + "/" + name;
        int status = -1;
        Shell("import -window " + window_ + " '" + path + "'", &status);
        return status == 0 && FileExists(path);
    }

    int handle_[2] = {}, origin_[2] = {}, unit_[2] = {};
    double grab_ = 0, matrix_[16] = {};
    int width_ = 0, height_ = 0;
};

}  // namespace

TEST_F(MoveToolProbe, DraggingTheXAxisMovesThePositionAlongXOnly) {
    ASSERT_TRUE(Shot("move-tool-before.png"));

    // The pointer comes in from the bare screen: a pointer that does not
    // move sends nothing, and the second spot always is a move.
    Xdotool("mousemove --sync 1200 1000");
    MoveTo(20, 20);
    MoveTo(24, 24);
    ASSERT_TRUE(Until([](const State& s) { return s.mouseX == 24 && s.mouseY == 24; })) << Output();
    // Over the x axis: the tool shows it hot.
    MoveTo(handle_[0], handle_[1]);
    ASSERT_TRUE(Until([](const State& s) { return s.hot == ModeX; })) << Output();
    Xdotool("mousedown 1");
    ASSERT_TRUE(Until([](const State& s) { return s.mode == ModeX; })) << Output();

    // Along the axis as it runs on the screen, with the pointer wandering
    // off it sideways: only the part along the axis counts.
    double ax = unit_[0] - origin_[0], ay = unit_[1] - origin_[1];
    const double pixels = std::sqrt(ax * ax + ay * ay);
    ASSERT_GT(pixels, 10.0);
    ax /= pixels;
    ay /= pixels;
    const double along = 120, across = 14;
    MoveTo(handle_[0] + ax * along * 0.4 - ay * across * 0.5, handle_[1] + ay * along * 0.4 + ax * across * 0.5);
    const int endX = (int)std::lround(handle_[0] + ax * along - ay * across);
    const int endY = (int)std::lround(handle_[1] + ay * along + ax * across);
    MoveTo(endX, endY);
    ASSERT_TRUE(Until([&](const State& s) { return s.mode == ModeX && s.mouseX == endX && s.mouseY == endY; }))
        << Output();
    // The release comes after the moves on the same connection: once the
    // drag has ended every move has been handled.
    Xdotool("mouseup 1");
    ASSERT_TRUE(Until([](const State& s) { return s.mode == 0; })) << Output();
    State end = Last();
    ASSERT_TRUE(Shot("move-tool-after.png"));

    EXPECT_EQ(0.0, end.y) << Output();
    EXPECT_EQ(0.0, end.z) << Output();
    // The grabbed point of the axis has followed the pointer: it is drawn
    // where the pointer's foot on the axis line is (within the rounding of
    // the pixels the test pressed at).
    double gx, gy, ox, oy, ux, uy;
    Project(grab_ + end.x, &gx, &gy);
    Project(0, &ox, &oy);
    Project(1, &ux, &uy);
    double dx = ux - ox, dy = uy - oy, len2 = dx * dx + dy * dy;
    double t = ((end.mouseX - ox) * dx + (end.mouseY - oy) * dy) / len2;
    double fx = ox + dx * t, fy = oy + dy * t;
    EXPECT_NEAR(fx, gx, 2.0) << Output();
    EXPECT_NEAR(fy, gy, 2.0) << Output();
    EXPECT_GT(end.x, 0.5) << Output();

    // The pictures differ: the cube has moved.
    int status = -1;
    std::string diff = Shell("compare -metric AE '" + OutputDir() + "/move-tool-before.png' '" + OutputDir() +
                             "/move-tool-after.png' null: 2>&1", &status);
    EXPECT_GT(atoi(diff.c_str()), 1000) << diff;
}
