// zozud-viewer as a person or a script uses it: the screenshot mode on the
// committed bending box, an OBJ and an image, the failures on bad files and
// options, and the interactive window driven with xdotool.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "zozud/image/Image.h"
#include "zozud/io/IO.h"
#include "zozud/model/Camera.h"
#include "zozud/model/Model.h"
#include "zozud/render/Viewer.h"
#include "zozud/view/Spline.h"

#include "support/Desktop.h"
#include "support/Process.h"

using namespace zozud;
using namespace testsupport;

namespace {

const std::string Viewer = ZOZUD_BINARY_DIR "/zozud-viewer";
const std::string Data = ZOZUD_SOURCE_DIR "/tests/data/viewer";
const int Width = 640, Height = 400;
const int ViewWidth = Width - 216;  // left of the control form
const unsigned char Clear[3] = {28, 31, 38};  // the Ziduruz theme's background

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator<(const Rgb& o) const { return r != o.r ? r < o.r : g != o.g ? g < o.g : b < o.b; }
};

// Pixel at x, y counted from the TOP left, like the screen.
Rgb At(const cImage& image, int x, int y) {
    const unsigned char* p = image.Pixels + ((int64_t)(image.Height - 1 - y) * image.Width + x) * 3;
    return {p[0], p[1], p[2]};
}

bool IsClear(const Rgb& c) {
    return std::abs(c.r - Clear[0]) <= 2 && std::abs(c.g - Clear[1]) <= 2 && std::abs(c.b - Clear[2]) <= 2;
}

Rgb MostCommon(const cImage& image) {
    std::map<Rgb, int> counts;
    for (int y = 0; y < image.Height; y++)
        for (int x = 0; x < image.Width; x++) counts[At(image, x, y)]++;
    Rgb best{0, 0, 0};
    int most = -1;
    for (auto& e : counts)
        if (e.second > most) most = e.second, best = e.first;
    return best;
}

bool Decode(const std::string& path, cImage* image) {
    return cIO::LoadImage(path.c_str(), image) && image->Format == cFormat::Rgb8 && image->Width == Width &&
           image->Height == Height;
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs the viewer to its end. Its leak check at exit is off: LeakSanitizer's
// tracer now and then faults reading the thread-local storage Mesa's GL
// driver leaves behind (a fault of the checker, seen with every exit path);
// AddressSanitizer's other checks stay on.
Outcome Start(const std::string& args, const TempDir& dir) {
    Outcome r;
    // The settings are read from the test's own folder, never the user's;
    // the viewer runs in that folder, so relative names point there.
    r.out = Shell("cd '" + dir.Path() + "' && ZOZUD_VIEWER_CONFIG='" + (dir / "config") + "' ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" " +
                      Viewer + " " + args + " 2>'" +
                      (dir / "err.txt") + "'",
                  &r.status);
    r.err = ReadFile(dir / "err.txt");
    return r;
}

std::string Sized() { return " --size " + std::to_string(Width) + "x" + std::to_string(Height); }

int Lines(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

// The mean position of the pixels of the view that are not the background,
// leaving out the text rows at its top and bottom; false when there are none.
bool Centroid(const cImage& image, double* x, double* y) {
    double sx = 0, sy = 0;
    long n = 0;
    for (int py = 40; py < Height - 70; py++)
        for (int px = 0; px < ViewWidth; px++)
            if (!IsClear(At(image, px, py))) sx += px, sy += py, n++;
    if (n == 0) return false;
    *x = sx / n;
    *y = sy / n;
    return true;
}

const std::string BoxObj = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                           "f 4 3 2 1\nf 6 7 8 5\nf 2 6 5 1\nf 3 7 6 2\nf 4 8 7 3\nf 1 5 8 4\n";

// The mean position of the box's warm grey (red over green over blue), which
// neither the grid, the background nor the explorer's window has; the
// number of its pixels.
int BoxCentroid(const cImage& image, double* x, double* y) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int py = 40; py < Height - 70; py++)
        for (int px = 0; px < Width; px++) {
            Rgb c = At(image, px, py);
            if (c.r > c.g + 3 && c.g > c.b + 3 && c.r > 60) sx += px, sy += py, n++;
        }
    if (n) *x = sx / n, *y = sy / n;
    return n;
}

int Differences(const cImage& a, const cImage& b) {
    int n = 0;
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < ViewWidth; x++) n += !(At(a, x, y) == At(b, x, y));
    return n;
}

class ViewerShots : public DesktopTest {};

// ---- Screenshot mode ----

TEST_F(ViewerShots, TheBendingBoxIsFramedAndMovesWithTime) {
    TempDir dir;
    cImage shots[2];
    const char* times[2] = {"0", "0.25"};
    for (int i = 0; i < 2; i++) {
        std::string out = dir / ("bend" + std::to_string(i) + ".bmp");
        Outcome r = Start(Data + "/bend.md5mesh --screenshot " + out + " --time " + times[i] + Sized(), dir);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("wrote " + out), std::string::npos) << r.out;
        ASSERT_TRUE(Decode(out, &shots[i]));
        // The background fills most of the picture; the model covers the
        // middle of the view, where the framing centred it.
        EXPECT_TRUE(IsClear(MostCommon(shots[i])));
        EXPECT_FALSE(IsClear(At(shots[i], ViewWidth / 2, Height / 2))) << "time " << times[i];
    }
    // Straight at 0 s, bent a quarter second later.
    EXPECT_GT(Differences(shots[0], shots[1]), 200);
}

TEST_F(ViewerShots, AnObjAndAnImageShow) {
    TempDir dir;
    WriteFile(dir / "cube.obj",
              "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
              "f 1 2 3 4\nf 5 8 7 6\nf 1 5 6 2\nf 2 6 7 3\nf 3 7 8 4\nf 4 8 5 1\n");
    // Names relative to the working folder: the framework's source folders
    // must neither be searched for the model nor receive the picture.
    Outcome r = Start("cube.obj --screenshot cube.bmp" + Sized(), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    cImage shot;
    ASSERT_TRUE(Decode(dir / "cube.bmp", &shot));
    EXPECT_FALSE(IsClear(At(shot, ViewWidth / 2, Height / 2)));
    EXPECT_NE(r.out.find("12 triangles"), std::string::npos) << r.out;

    // A red image alone fills the view: its middle is red.
    cImage red(cFormat::Rgb8, 8, 8);
    for (int i = 0; i < 64; i++) red.Pixels[i * 3] = 255, red.Pixels[i * 3 + 1] = 0, red.Pixels[i * 3 + 2] = 0;
    for (const char* ext : {"bmp", "tga", "dds"}) {
        std::string in = dir / (std::string("red.") + ext), out = dir / "red.bmp";
        ASSERT_TRUE(cIO::SaveImage(in.c_str(), red)) << ext;
        r = Start(in + " --screenshot " + out + Sized(), dir);
        ASSERT_EQ(r.status, 0) << ext << ": " << r.err;
        ASSERT_TRUE(Decode(out, &shot)) << ext;
        EXPECT_EQ(At(shot, ViewWidth / 2, Height / 2), (Rgb{255, 0, 0})) << ext;
    }
}

// A closed model leaves out the faces that cannot be seen, whichever way its
// file winds them: wound outward, wound inward, and with one face doubled
// (an edge joins four triangles, so nothing is left out) the box looks the
// same. Leaving out the wrong side would show its inside instead.
TEST_F(ViewerShots, ABoxShowsItsOutsideWhateverItsWinding) {
    TempDir dir;
    // Each face carries its outward normal, so the shading never depends on
    // the winding or on how faces share vertices.
    const std::string points = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                               "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 1 0 0\nvn 0 1 0\nvn -1 0 0\n";
    const int box[6][4] = {{1, 2, 3, 4}, {5, 8, 7, 6}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 8, 4}, {4, 8, 5, 1}};
    auto face = [&](int f, bool out) {
        std::string line = "f";
        for (int k = 0; k < 4; k++) line += " " + std::to_string(box[f][out ? 3 - k : k]) + "//" + std::to_string(f + 1);
        return line + "\n";
    };
    std::string inward, outward;
    for (int f = 0; f < 6; f++) inward += face(f, false), outward += face(f, true);
    const struct {
        const char* name;
        std::string faces;
    } cases[] = {{"doubled face", inward + face(0, false)}, {"inward", inward}, {"outward", outward}};
    cImage shots[3];
    for (int i = 0; i < 3; i++) {
        WriteFile(dir / "box.obj", points + cases[i].faces);
        Outcome r = Start(dir / "box.obj" + " --screenshot " + dir / "box.bmp" + Sized(), dir);
        ASSERT_EQ(r.status, 0) << cases[i].name << ": " << r.err;
        ASSERT_TRUE(Decode(dir / "box.bmp", &shots[i])) << cases[i].name;
        ASSERT_FALSE(IsClear(At(shots[i], ViewWidth / 2, Height / 2))) << cases[i].name;
    }
    // Below the name line and above the help lines.
    for (int i = 1; i < 3; i++) {
        int differ = 0;
        for (int y = 40; y < Height - 70; y++)
            for (int x = 0; x < ViewWidth; x++) differ += !(At(shots[0], x, y) == At(shots[i], x, y));
        EXPECT_LE(differ, 20) << cases[i].name;
    }
}

TEST_F(ViewerShots, AMaterialNamesTheDiffuseMapBesideTheModel) {
    TempDir dir;
    const std::string cube =
        "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
        "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nusemtl paint\n"
        "f 1/1 2/2 3/3 4/4\nf 5/1 8/2 7/3 6/4\nf 1/1 5/2 6/3 2/4\nf 2/1 6/2 7/3 3/4\nf 3/1 7/2 8/3 4/4\nf 4/1 8/2 5/3 1/4\n";
    WriteFile(dir / "cube.obj", cube);
    cImage shots[2];
    for (int i = 0; i < 2; i++) {
        if (i == 1) {  // a blue diffuse map named after the material
            cImage blue(cFormat::Rgb8, 4, 4);
            for (int p = 0; p < 16; p++) blue.Pixels[p * 3] = 0, blue.Pixels[p * 3 + 1] = 0, blue.Pixels[p * 3 + 2] = 255;
            ASSERT_TRUE(cIO::SaveImage((dir / "paint.bmp").c_str(), blue));
        }
        std::string out = dir / ("cube" + std::to_string(i) + ".bmp");
        Outcome r = Start(dir / "cube.obj" + " --screenshot " + out + Sized(), dir);
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_TRUE(Decode(out, &shots[i]));
    }
    Rgb plain = At(shots[0], ViewWidth / 2, Height / 2), painted = At(shots[1], ViewWidth / 2, Height / 2);
    EXPECT_LT(std::abs(plain.r - plain.b), 40);  // the default grey-beige
    EXPECT_GT(painted.b, painted.r + 60);         // blue from the map
    EXPECT_GT(painted.b, painted.g + 60);
}

TEST_F(ViewerShots, AMaterialLibraryGivesTheMaterialItsMap) {
    TempDir dir;
    WriteFile(dir / "cube.obj",
              "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
              "usemtl Paints_green\nf 1 2 3 4\nf 5 8 7 6\nf 1 5 6 2\nf 2 6 7 3\nf 3 7 8 4\nf 4 8 5 1\n");
    cImage green(cFormat::Rgb8, 4, 4);
    for (int p = 0; p < 16; p++) green.Pixels[p * 3] = 0, green.Pixels[p * 3 + 1] = 255, green.Pixels[p * 3 + 2] = 0;
    ASSERT_TRUE(cIO::SaveImage((dir / "green.bmp").c_str(), green));
    // In another folder than the model's, so only the library can name the map.
    TempDir libraries;
    WriteFile(libraries / "paints.xml",
              "<cMaterialLibrary><Name>Paints</Name><Groups><cMaterialGroup><Name>Paints</Name><Materials>"
              "<cMaterial_Bump><MaterialName>green</MaterialName><DiffuseMap>" + dir / "green.bmp" +
              "</DiffuseMap></cMaterial_Bump></Materials></cMaterialGroup></Groups></cMaterialLibrary>\n");
    std::string out = dir / "shot.bmp";
    Outcome r = Start(libraries / "paints.xml" + " " + dir / "cube.obj" + " --screenshot " + out + Sized(), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    cImage shot;
    ASSERT_TRUE(Decode(out, &shot));
    Rgb c = At(shot, ViewWidth / 2, Height / 2);
    EXPECT_GT(c.g, c.r + 60);
    EXPECT_GT(c.g, c.b + 60);

    WriteFile(libraries / "broken.xml", "<cMaterialLibrary><Name>");
    r = Start(libraries / "broken.xml" + " --screenshot " + out + Sized(), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("broken.xml"), std::string::npos) << r.err;
}

TEST_F(ViewerShots, TheExplorerShowsTheViewersSettings) {
    TempDir dir;
    cImage plain, explorer;
    for (int i = 0; i < 2; i++) {
        std::string out = dir / "shot.bmp";
        Outcome r = Start(Data + "/bend.md5mesh --frames 4 --screenshot " + out + Sized() + (i ? " --explorer" : ""), dir);
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_TRUE(Decode(out, i ? &explorer : &plain));
    }
    // Its window covers a good part of the picture with light rows.
    int light = 0;
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < Width; x++) {
            Rgb a = At(plain, x, y), b = At(explorer, x, y);
            light += !(a == b) && b.r > 180 && b.g > 180 && b.b > 180;
        }
    EXPECT_GT(light, Width * Height / 8);
}

// The explorer's window takes the right of a small window: the view ends
// beside it and frames the box there, rather than under the window.
TEST_F(ViewerShots, TheViewEndsBesideTheExplorer) {
    TempDir dir;
    WriteFile(dir / "box.obj", BoxObj);
    cImage shot;
    Outcome r = Start(dir / "box.obj" + " --explorer --frames 4 --screenshot " + dir / "box.bmp" + Sized(), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(Decode(dir / "box.bmp", &shot));
    double x, y;
    EXPECT_GT(BoxCentroid(shot, &x, &y), 400);
}

// A camera path kept in the config folder (edited in an earlier run) is the
// one followed at the next start; one that does not read leaves the path
// made around the model.
TEST_F(ViewerShots, AKeptCameraPathIsFollowedAtTheNextStart) {
    TempDir dir;
    WriteFile(dir / "box.obj", BoxObj);
    const std::string kept = dir / "config/CameraPath.xml";
    auto boxPixels = [&] {
        cImage shot;
        double x, y;
        Outcome r = Start(dir / "box.obj" + " --follow-path --time 0 --screenshot " + dir / "box.bmp" + Sized(), dir);
        return r.status == 0 && Decode(dir / "box.bmp", &shot) ? BoxCentroid(shot, &x, &y) : -1;
    };
    int fresh = boxPixels();
    EXPECT_FALSE(FileExists(kept)) << "a screenshot kept the path";

    cSpline far;  // a loop far wider than the one made around the box, and above it
    cVec3 points[8];
    for (int i = 0; i < 8; i++) points[i] = cVec3(12 * std::sin(i * 0.785398f), 6, 12 * std::cos(i * 0.785398f));
    far.Closed = true;
    far.SetFromPoints(points, 8);
    Shell("mkdir -p '" + dir / "config" + "'");
    ASSERT_TRUE(far.WriteToFile(kept.c_str()));
    int distant = boxPixels();

    WriteFile(kept, "<cSpline><Nodes><cSpline_Node><EP>1 2");
    int damaged = boxPixels();

    ASSERT_GT(fresh, 400);
    EXPECT_GT(distant, 20) << "the camera left the model out of sight";
    EXPECT_LT(distant * 4, fresh) << "the kept path was not followed";
    EXPECT_EQ(damaged, fresh);
}

TEST_F(ViewerShots, BadFilesAndOptionsEndWithStatusOneAndOneLine) {
    TempDir dir;
    std::string mesh = ReadFile(Data + "/bend.md5mesh");
    WriteFile(dir / "cut.md5mesh", mesh.substr(0, mesh.size() / 2));
    WriteFile(dir / "thing.xyz", "what");
    WriteFile(dir / "empty.obj", "# nothing\n");
    WriteFile(dir / "junk.tga", std::string(5, '\x7f'));
    WriteFile(dir / "junk.cCamera", std::string("cc\0\0\0\0\0\xff\xff\xff\x7f", 11));
    ASSERT_TRUE(cIO::SaveCamera((dir / "keyless.cCamera").c_str(), cCamera()));
    const std::string shot = " --screenshot " + dir / "out.bmp";
    struct Case {
        std::string args, says;
    } cases[] = {
        {dir / "cut.md5mesh" + shot, "cut.md5mesh"},
        {dir / "thing.xyz" + shot, "unknown file type"},
        {dir / "missing.obj" + shot, "cannot open"},
        {dir / "empty.obj" + shot, "empty.obj"},
        {dir / "junk.tga" + shot, "junk.tga"},
        {Data + "/bend.md5anim" + shot, "skinned model"},
        {Data + "/bend.md5mesh " + dir / "junk.cCamera" + shot, "junk.cCamera"},
        {Data + "/bend.md5mesh " + dir / "keyless.cCamera" + shot, "no camera keys"},
        {Data + "/bend.md5mesh --frames x" + shot, "--frames"},
        {Data + "/bend.md5mesh --size 10" + shot, "--size"},
        {Data + "/bend.md5mesh --theme Plain" + shot, "--theme"},
        {Data + "/bend.md5mesh --time -1" + shot, "--time"},
        {Data + "/bend.md5mesh --wobble" + shot, "--wobble"},
        {Data + "/bend.md5mesh --position 1,2" + shot, "--position"},
        {Data + "/bend.md5mesh --position 1,x,2" + shot, "--position"},
        {shot, "needs a file"},
    };
    for (const Case& c : cases) {
        Outcome r = Start(c.args, dir);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_NE(r.err.find("zozud-viewer: "), std::string::npos) << c.args;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << ": " << r.err;
        // One line, or two for an option error (the line and the usage).
        EXPECT_EQ(Lines(r.err), c.says.compare(0, 2, "--") == 0 ? 2 : 1) << r.err;
        EXPECT_FALSE(FileExists(dir / "out.bmp"));
    }
}

// The model's placement moves it within the scene, the camera framing the
// model where it was loaded: placed right and left of its place the box is
// drawn on either side of where it stands unplaced, and far behind it shrinks.
TEST_F(ViewerShots, ThePlacementMovesTheModel) {
    TempDir dir;
    WriteFile(dir / "box.obj", BoxObj);
    const char* const places[] = {"", " --position 1.5,0,0", " --position -1.5,0,0", " --position 0,0,-6"};
    double cx[4] = {}, cy[4] = {};
    int count[4] = {};
    for (int i = 0; i < 4; i++) {
        Outcome r = Start(dir / "box.obj" + places[i] + " --screenshot " + dir / "box.bmp" + Sized(), dir);
        ASSERT_EQ(r.status, 0) << places[i] << ": " << r.err;
        cImage shot;
        ASSERT_TRUE(Decode(dir / "box.bmp", &shot));
        count[i] = BoxCentroid(shot, &cx[i], &cy[i]);
        ASSERT_GT(count[i], 20) << places[i];
    }
    EXPECT_GT(std::fabs(cx[1] - cx[0]), 30);
    EXPECT_LT((cx[1] - cx[0]) * (cx[2] - cx[0]), 0) << "moved the same way both times";
    EXPECT_LT(count[3] * 4, count[0]) << "far away but as large";
}

// Following its path the camera goes round the box, looking at it: an
// eighth of the way on (1.25 s of 10) the box is seen from another side,
// still in the middle of the view.
TEST_F(ViewerShots, TheCameraFollowingItsPathCirclesTheModel) {
    TempDir dir;
    WriteFile(dir / "box.obj", BoxObj);
    const char* const runs[] = {" --time 0", " --follow-path --time 0", " --follow-path --time 1.25"};
    cImage shots[3];
    for (int i = 0; i < 3; i++) {
        Outcome r = Start(dir / "box.obj" + runs[i] + " --screenshot " + dir / "box.bmp" + Sized(), dir);
        ASSERT_EQ(r.status, 0) << runs[i] << ": " << r.err;
        ASSERT_TRUE(Decode(dir / "box.bmp", &shots[i]));
        double x = 0, y = 0;
        ASSERT_GT(BoxCentroid(shots[i], &x, &y), 400) << runs[i];
        EXPECT_NEAR(x, ViewWidth / 2.0, ViewWidth * 0.08) << runs[i];
    }
    EXPECT_GT(Differences(shots[0], shots[1]), 300) << "the path starts where the home view is";
    EXPECT_GT(Differences(shots[1], shots[2]), 300) << "the camera stood still";
}

// A camera key looking from eye at the bending box's middle.
cCamera::Frame KeyAt(float sec, const cVec3& eye) {
    cCamera::Frame f;
    f.TimeSec = sec;
    f.Position = eye;
    cViewer_CalcOrientFromForwardDir(&f.Orient, cVec3(0, 0, 2) - eye);
    f.FovY = 50;
    return f;
}

bool SaveTrack(const std::string& path, std::initializer_list<cCamera::Frame> keys) {
    cCamera camera;
    camera.Tracks.Add(cCamera::Camera());
    for (const cCamera::Frame& k : keys) camera.Tracks[0].Frames.Add(k);
    return cIO::SaveCamera(path.c_str(), camera);
}

// A camera track moves the view with the animation time: from the front at
// 0 s, from the side at 1 s, the model in the middle both times; at 1 s the
// picture is the one a track holding only the side key gives.
TEST_F(ViewerShots, ACameraTrackMovesTheViewWithTheTime) {
    TempDir dir;
    const cVec3 front(0, 3, 20), side(20, 3, 2);
    ASSERT_TRUE(SaveTrack(dir / "two.cCamera", {KeyAt(0, front), KeyAt(1, side)}));
    ASSERT_TRUE(SaveTrack(dir / "side.cCamera", {KeyAt(5, side)}));
    const std::string runs[] = {dir / "two.cCamera --time 0", dir / "two.cCamera --time 1", dir / "side.cCamera --time 1",
                                "--time 1"};
    cImage shots[4];
    for (int i = 0; i < 4; i++) {
        Outcome r = Start(Data + "/bend.md5mesh " + runs[i] + " --screenshot " + dir / "cam.bmp" + Sized(), dir);
        ASSERT_EQ(r.status, 0) << runs[i] << ": " << r.err;
        ASSERT_TRUE(Decode(dir / "cam.bmp", &shots[i]));
        double x = 0, y = 0;
        ASSERT_TRUE(Centroid(shots[i], &x, &y)) << runs[i];
        EXPECT_NEAR(x, ViewWidth / 2.0, ViewWidth * 0.2) << runs[i];  // the box bends to one side
    }
    EXPECT_GT(Differences(shots[0], shots[1]), 2000) << "the camera stood still";
    EXPECT_EQ(Differences(shots[1], shots[2]), 0) << "the track is not at its end at 1 s";
    EXPECT_GT(Differences(shots[1], shots[3]), 2000) << "the track did not move the view";
}

// ---- Interactive ----

class ViewerWindow : public DesktopTest {
protected:
    TempDir dir;
    Process viewer;
    std::string window;

    std::string Output() { return ReadFile(dir / "out.txt"); }
    int Frames() {
        std::string out = Output();
        size_t at = out.rfind("frame ");
        return at == std::string::npos ? 0 : std::atoi(out.c_str() + at + 6);
    }
    // Waits until the viewer has drawn n more frames than now.
    bool Drawn(int n) {
        int start = Frames();
        return WaitFor([&] { return Frames() >= start + n; }, 10000);
    }
    bool Open(const std::vector<std::string>& files) {
        std::vector<std::string> args = files;
        for (const char* a : {"--report", "--size", "640x400", "--shot-folder"}) args.push_back(a);
        args.push_back(dir.Path());
        if (!viewer.Start(Viewer, args, dir.Path(), {"ZOZUD_VIEWER_CONFIG=" + dir / "config"}, dir / "out.txt"))
            return false;
        window = FindWindow("^zozud-viewer$", 20, viewer.Pid());
        return !window.empty() && WaitFor([&] { return Frames() >= 3; }, 15000);
    }
    void Xdo(const std::string& commands) { Shell("xdotool " + commands + " 2>/dev/null"); }
    // A click on the explorer's row of that name, once the viewer has
    // reported where it is (each time its rows change).
    bool ClickRow(const std::string& name) {
        int x0, y0, x1, y1;
        auto found = [&] {
            std::string out = Output();
            size_t at = out.rfind("control " + name + " ");
            return at != std::string::npos &&
                   std::sscanf(out.c_str() + at + 9 + name.size(), "%d %d %d %d", &x0, &y0, &x1, &y1) == 4;
        };
        if (!WaitFor(found, 10000)) return false;
        Xdo("mousemove --window " + window + " --sync " + std::to_string((x0 + x1) / 2) + " " +
            std::to_string((y0 + y1) / 2) + " click 1");
        return true;
    }
    // The screenshot key: the file it names once written, decoded.
    bool ShotKey(int n, cImage* image) {
        Keys(window, "F12");
        char name[32];
        std::snprintf(name, sizeof name, "/zozud-viewer-%03d.bmp", n);
        std::string path = dir.Path() + name;
        return WaitFor([&] { return Output().find("screenshot " + path) != std::string::npos; }, 10000) &&
               Decode(path, image);
    }
};

TEST_F(ViewerWindow, AltLeftDragTumblesAroundTheCentredModel) {
    ASSERT_TRUE(Open({Data + "/bend.md5mesh"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    Keys(window, "g space");  // no grid, animation paused: only the model changes the picture
    ASSERT_TRUE(Drawn(3));
    cImage before, after;
    ASSERT_TRUE(ShotKey(1, &before));
    double x0, y0, x1, y1;
    ASSERT_TRUE(Centroid(before, &x0, &y0));

    Xdo("mousemove --window " + window + " --sync 150 200");
    Xdo("keydown Alt_L");
    Xdo("mousedown 1");
    for (int i = 1; i <= 8; i++) Xdo("mousemove --window " + window + " --sync " + std::to_string(150 + i * 12) + " 200 sleep 0.03");
    Xdo("mouseup 1");
    Xdo("keyup Alt_L");
    ASSERT_TRUE(Drawn(3));
    ASSERT_TRUE(ShotKey(2, &after));
    ASSERT_TRUE(Centroid(after, &x1, &y1));

    EXPECT_GT(Differences(before, after), 300);
    // The tumble turns the view about the model's centre: it stays in the middle.
    for (double x : {x0, x1}) EXPECT_NEAR(x, ViewWidth / 2.0, ViewWidth * 0.12);
    for (double y : {y0, y1}) EXPECT_NEAR(y, Height / 2.0, Height * 0.15);
    EXPECT_TRUE(viewer.Running());
}

// "P" opens the explorer on the model's placement: the move tool stands on
// the box, and dragging the tool's centre square carries the box along.
TEST_F(ViewerWindow, TheMoveToolOnThePlacementDragsTheModel) {
    WriteFile(dir / "box.obj", BoxObj);
    ASSERT_TRUE(Open({dir / "box.obj", "--explorer"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    Keys(window, "g p");  // no grid: nothing else white near the box
    ASSERT_TRUE(Drawn(3));
    cImage before, after;
    ASSERT_TRUE(ShotKey(1, &before));
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_GT(BoxCentroid(before, &x0, &y0), 400);
    // The square: white pixels near the box's middle.
    double hx = 0, hy = 0;
    int white = 0;
    for (int y = (int)y0 - 40; y <= (int)y0 + 40; y++)
        for (int x = (int)x0 - 40; x <= (int)x0 + 40; x++)
            if (At(before, x, y) == (Rgb{255, 255, 255})) hx += x, hy += y, white++;
    ASSERT_GT(white, 10) << "no move tool on the box";
    int hxi = (int)(hx / white + 0.5), hyi = (int)(hy / white + 0.5);

    Xdo("mousemove --window " + window + " --sync " + std::to_string(hxi) + " " + std::to_string(hyi));
    ASSERT_TRUE(Drawn(2));
    Xdo("mousedown 1");
    for (int i = 1; i <= 6; i++)
        Xdo("mousemove --window " + window + " --sync " + std::to_string(hxi) + " " + std::to_string(hyi - i * 10) + " sleep 0.03");
    Xdo("mouseup 1");
    ASSERT_TRUE(Drawn(3));
    ASSERT_TRUE(ShotKey(2, &after));
    ASSERT_GT(BoxCentroid(after, &x1, &y1), 400);
    // Up with the pointer (the view is narrow beside the explorer).
    EXPECT_NEAR(y1 - y0, -60, 15);
    EXPECT_NEAR(x1, x0, 10);
    EXPECT_TRUE(viewer.Running());
}

// Settings changed in the window are kept in the config folder: a later
// run (here a script's screenshot) starts with them, whatever that run does
// with its own; a damaged file leaves the defaults.
TEST_F(ViewerWindow, SettingsChangedInTheWindowSurviveARestart) {
    WriteFile(dir / "box.obj", BoxObj);
    const std::string shot = dir / "box.obj" + " --screenshot " + dir / "shot.bmp" + Sized();
    cImage fresh, kept;
    ASSERT_EQ(Start(shot, dir).status, 0);
    ASSERT_TRUE(Decode(dir / "shot.bmp", &fresh));
    EXPECT_FALSE(FileExists(dir / "config/Viewer.xml")) << "a screenshot wrote the settings";

    ASSERT_TRUE(Open({dir / "box.obj"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    Keys(window, "g w");  // grid off, wire frame on
    ASSERT_TRUE(WaitFor([&] { return ReadFile(dir / "config/Viewer.xml").find("Wire") != std::string::npos &&
                                     FileExists(dir / "config/Settings.xml"); }, 10000));
    ASSERT_TRUE(Drawn(3));
    Shell("sleep 1.2");  // the next check of the settings
    ASSERT_TRUE(Drawn(2));
    viewer.Kill();

    ASSERT_EQ(Start(shot, dir).status, 0);
    ASSERT_TRUE(Decode(dir / "shot.bmp", &kept));
    // A wire frame without the grid: far fewer pixels differ from the background.
    auto drawn = [](const cImage& image) {  // below the name line, above the help and the frame rate
        int n = 0;
        for (int y = 40; y < Height - 70; y++)
            for (int x = 0; x < ViewWidth; x++) n += !IsClear(At(image, x, y));
        return n;
    };
    EXPECT_LT(drawn(kept) * 2, drawn(fresh));

    WriteFile(dir / "config/Viewer.xml", "<cViewerSettings><Grid>tr");
    Outcome r = Start(shot, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(Decode(dir / "shot.bmp", &kept));
    EXPECT_NEAR(drawn(kept), drawn(fresh), 20) << "the damaged file did not leave the defaults";
}

TEST_F(ViewerWindow, ABadFileShowsAMessageAndTheViewerGoesOn) {
    WriteFile(dir / "thing.xyz", "what");
    ASSERT_TRUE(Open({dir / "thing.xyz", Data + "/bend.md5mesh"}));
    std::string box = FindWindow("cannot load", 20, viewer.Pid());
    ASSERT_FALSE(box.empty());
    // A key can be lost while the box settles: it is sent again while the box stays.
    for (int attempt = 0; attempt < 3 && !WindowGone("cannot load"); attempt++) {
        Shell("sleep 0.5");
        Keys(box, "Return");
        WaitFor([&] { return WindowGone("cannot load"); }, 3000);
    }
    ASSERT_TRUE(WindowGone("cannot load"));
    ASSERT_TRUE(Drawn(3));
    EXPECT_TRUE(viewer.Running());
    cImage shot;
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(ShotKey(1, &shot));
    EXPECT_FALSE(IsClear(At(shot, ViewWidth / 2, Height / 2)));
}

TEST_F(ViewerWindow, TheThemeKeySwitchesTheLook) {
    ASSERT_TRUE(Open({Data + "/bend.md5mesh"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    cImage ziduruz, standard;
    ASSERT_TRUE(ShotKey(1, &ziduruz));
    Keys(window, "t");
    ASSERT_TRUE(Drawn(3));
    ASSERT_TRUE(ShotKey(2, &standard));
    EXPECT_TRUE(IsClear(MostCommon(ziduruz)));
    Rgb desktop = MostCommon(standard);  // the classic desktop's blue
    EXPECT_NEAR(desktop.r, 59, 2);
    EXPECT_NEAR(desktop.g, 110, 2);
    EXPECT_NEAR(desktop.b, 153, 2);
}

// The framework's clear colour is among the viewer's settings: red typed
// into it in the explorer fills the background at once, and in the next run.
TEST_F(ViewerWindow, TheExplorerChangesTheClearColour) {
    WriteFile(dir / "box.obj", BoxObj);
    ASSERT_TRUE(Open({dir / "box.obj", "--explorer"}));
    Xdo("mousemove --window " + window + " 10 10 windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    ASSERT_TRUE(ClickRow("ClearColor")) << Output();
    ASSERT_TRUE(ClickRow("R")) << Output();
    ASSERT_TRUE(Drawn(2));
    Keys(window, "ctrl+a");
    Type(window, "1");
    Keys(window, "Return");
    ASSERT_TRUE(WaitFor([&] { return ReadFile(dir / "config/Viewer.xml").find("<R>1") != std::string::npos; }, 10000));
    ASSERT_TRUE(Drawn(3));
    const Rgb red{255, Clear[1], Clear[2]};
    cImage now, next;
    ASSERT_TRUE(ShotKey(1, &now));
    int filled = 0;  // the view left of the explorer's window
    for (int y = 40; y < Height - 70; y++)
        for (int x = 0; x < 100; x++) filled += At(now, x, y) == red;
    EXPECT_GT(filled, 100 * (Height - 110) / 2);  // all but the grid and the text
    viewer.Kill();

    ASSERT_EQ(Start(dir / "box.obj --screenshot " + dir / "next.bmp" + Sized(), dir).status, 0);
    ASSERT_TRUE(Decode(dir / "next.bmp", &next));
    EXPECT_EQ(MostCommon(next), red);
}

TEST_F(ViewerWindow, ControlTildeOpensTheLogWindow) {
    ASSERT_TRUE(Open({Data + "/bend.md5mesh"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    Keys(window, "grave");
    ASSERT_TRUE(Drawn(3));
    EXPECT_TRUE(WindowGone("^zozud-viewer Log$")) << "the key alone opened the log";
    Keys(window, "ctrl+grave");
    EXPECT_FALSE(FindWindow("^zozud-viewer Log$", 10, viewer.Pid()).empty());
    EXPECT_TRUE(viewer.Running());
}

TEST_F(ViewerWindow, TheSaveKeyWritesTheModelThroughTheFileDialog) {
    ASSERT_TRUE(Open({Data + "/bend.md5mesh"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    Keys(window, "s");
    const std::string path = dir / "saved.obj";
    // A keystroke can be lost while the chooser settles: the name is typed
    // again while it stays open.
    for (int attempt = 0; attempt < 3 && !FileExists(path); attempt++) {
        std::string chooser = FindWindow("^Save model$", 15, viewer.Pid());
        if (chooser.empty()) break;
        Shell("sleep 0.7");
        Keys(chooser, "ctrl+a");
        Type(chooser, path);
        Shell("sleep 0.3");
        Keys(chooser, "Return");
        WaitFor([&] { return FileExists(path); }, 3000);
    }
    ASSERT_TRUE(WaitFor([&] { return Output().find("saved " + path) != std::string::npos; }, 10000)) << Output();
    cModel model;
    ASSERT_TRUE(cIO::LoadModel(path.c_str(), &model));
    EXPECT_EQ(model.GetTriangleCount(), 68);  // the box in its bind pose
    EXPECT_TRUE(model.IsStatic);
}

TEST_F(ViewerWindow, MipLevelAndChannelKeysChangeTheImageShown) {
    // Level 0 white, level 1 green, level 2 blue... in a DDS with its chain.
    cImage image(cFormat::Rgba8, 16, 16, 1, 5);
    const unsigned char colours[5][4] = {{255, 255, 255, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 0, 0, 255},
                                         {9, 9, 9, 255}};
    for (int level = 0; level < 5; level++) {
        unsigned char* p = image.GetPixels(level);
        for (int64_t i = 0; i < image.GetPixelCount(level); i++)
            for (int c = 0; c < 4; c++) p[i * 4 + c] = colours[level][c];
    }
    ASSERT_TRUE(cIO::SaveImage((dir / "chain.dds").c_str(), image));
    ASSERT_TRUE(Open({dir / "chain.dds"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    struct Step {
        const char* keys;
        Rgb centre;
    } steps[] = {
        {"", {255, 255, 255}},
        {"c", {255, 0, 0}},    // red channel alone
        {"c c", {0, 0, 255}},  // past green to blue
        {"c c", {255, 255, 255}},  // alpha as grey, then all channels again
        {"m", {0, 255, 0}},        // level 1
        {"m", {0, 0, 255}},        // level 2
    };
    int shot = 0;
    for (const Step& step : steps) {
        if (*step.keys) Keys(window, step.keys);
        ASSERT_TRUE(Drawn(3));
        cImage picture;
        ASSERT_TRUE(ShotKey(++shot, &picture));
        EXPECT_EQ(At(picture, ViewWidth / 2, Height / 2), step.centre) << "after \"" << step.keys << "\"";
    }
}

TEST_F(ViewerWindow, AModelDroppedOnTheWindowIsLoadedAndFramed) {
    ASSERT_TRUE(Open({}));
    Process source;
    ASSERT_TRUE(source.Start(ZOZUD_BINARY_DIR "/tests/ViewerDragSource", {Data + "/bend.md5mesh"}, dir.Path()));
    std::string from = FindWindow("^viewer drag source$", 20, source.Pid());
    ASSERT_FALSE(from.empty());
    Shell("sleep 0.5");
    // Pressed on the source's button, dragged in steps across to the viewer.
    Xdo("mousemove --window " + from + " --sync 60 30 sleep 0.3 mousedown 1");
    for (int i = 1; i <= 8; i++)
        Xdo("mousemove --window " + from + " --sync " + std::to_string(60 - i * 60) + " " + std::to_string(30 + i * 15) +
            " sleep 0.1");
    Xdo("mousemove --window " + window + " --sync 300 200 sleep 0.3 mousemove --window " + window +
        " --sync 320 200 sleep 0.3 mouseup 1");
    ASSERT_TRUE(WaitFor([&] { return Output().find("loaded " + Data + "/bend.md5mesh") != std::string::npos; }, 10000))
        << Output();
    ASSERT_TRUE(Drawn(3));
    Xdo("windowfocus --sync " + window);
    cImage shot;
    ASSERT_TRUE(ShotKey(1, &shot));
    EXPECT_FALSE(IsClear(At(shot, ViewWidth / 2, Height / 2)));
}

// "R" writes the camera path as a camera track beside the screenshots and
// keeps the path in the config folder; the track played back stands where
// following the path does.
TEST_F(ViewerWindow, ThePathKeyWritesACameraTrackThatFollowsThePath) {
    WriteFile(dir / "box.obj", BoxObj);
    ASSERT_TRUE(Open({dir / "box.obj"}));
    Xdo("windowfocus --sync " + window);
    ASSERT_TRUE(Drawn(3));
    Keys(window, "r");
    const std::string track = dir / "zozud-viewer-path-001.cCamera";
    ASSERT_TRUE(WaitFor([&] { return Output().find("camera path " + track) != std::string::npos; }, 10000)) << Output();
    EXPECT_TRUE(FileExists(dir / "config/CameraPath.xml"));
    cCamera camera;
    ASSERT_TRUE(cIO::LoadCamera(track.c_str(), &camera));
    ASSERT_EQ(camera.Tracks.Count(), 1);
    EXPECT_NEAR(camera.CalcDurationSec(), 10, 1e-3);

    cImage shots[2];
    const std::string runs[] = {" --follow-path --time 1.25", " " + track + " --time 1.25"};
    for (int i = 0; i < 2; i++) {
        Outcome r = Start(dir / "box.obj" + runs[i] + " --screenshot " + dir / "box.bmp" + Sized(), dir);
        ASSERT_EQ(r.status, 0) << runs[i] << ": " << r.err;
        ASSERT_TRUE(Decode(dir / "box.bmp", &shots[i]));
    }
    // The file keeps positions and turns to about a thousandth: the box may
    // move by part of a pixel, which the thin grid lines show most.
    double x[2], y[2];
    int n[2];
    for (int i = 0; i < 2; i++) n[i] = BoxCentroid(shots[i], &x[i], &y[i]);
    ASSERT_GT(n[0], 400);
    EXPECT_NEAR(n[1], n[0], n[0] * 0.02);
    EXPECT_NEAR(x[1], x[0], 1.0);
    EXPECT_NEAR(y[1], y[0], 1.0);
    EXPECT_GT(Differences(shots[0], shots[1]), 0) << "the track was not played";
    EXPECT_TRUE(viewer.Running());
}

}  // namespace
