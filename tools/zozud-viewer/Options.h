// The viewer's command line: the files to open and the options that make it
// write one picture and exit (the screenshot mode) or shape the window.
#pragma once

#include <string>
#include <vector>

namespace viewer {

struct Options {
    std::vector<std::string> Files;
    std::string Screenshot;    // non-empty: draw, write this BMP and exit
    int         Width = 960, Height = 600;
    int         Frames = 2;    // frames drawn before the screenshot
    float       TimeSec = -1;  // < 0: the animation plays from 0 (interactive) or stays at 0 (screenshot)
    std::string Theme = "Ziduruz";
    bool        Explorer = false;  // the property panel beside the view
    bool        Report = false;    // a line on standard output for every frame drawn
    std::string ShotFolder = ".";  // where the screenshot key writes its files
    bool        FollowPath = false;  // --follow-path: the camera rides its path from the start
    bool        HasPosition = false;  // --position: where the last model is placed
    float       Position[3] = {0, 0, 0};
};

// Reads the arguments (without the program name). False with the reason in
// *error for an unknown option, a missing or malformed value.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// The arguments the process was started with, exactly as given (the shell
// joins them with blanks, which loses names holding blanks).
std::vector<std::string> ProcessArguments();

const char* const Usage =
    "usage: zozud-viewer [FILE...] [--screenshot OUT.bmp] [--size WxH] [--frames N] [--time SEC] "
    "[--theme Ziduruz|WindowsStandard] [--explorer] [--report] [--shot-folder DIR] [--position X,Y,Z] [--follow-path]";

}  // namespace viewer
