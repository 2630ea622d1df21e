// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click's framing aids on the built-in sky: the texts from the camera database,
// and bad frames refused with a clear message and status 2.
#include "Zcm.h"

namespace {

const std::string kSky = "click --at 2026-08-13T00:00Z --site 139.69,35.69,40 --point 5.58,-5.4 ";

TEST(FrameOptions, FramesComeFromTheCameraDatabase) {
    int status = -1;
    // Canon EOS 6D: 35.8 x 23.9 mm; 2 atan(35.8 / 800) = 5.1246, 2 atan(23.9 / 800) = 3.4219
    // degrees.
    const std::string text =
        Zcm(kSky + "--frame 'Canon EOS 6D,400' --roll -30 AngleOfView", &status);
    EXPECT_EQ(status, 0);
    for (const char* line : {"撮影画角 Canon EOS 6D (5.12ﾟ×3.42ﾟ)",
                             "焦点距離 400.0 mm 撮像エリア 35.8 × 23.9 mm", "回転角 330.0 度"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_NE(Zcm(kSky + "--frame 36x24,50 AngleOfView", &status)
                  .find("撮影画角 カスタム (39.60ﾟ×26.99ﾟ)"),
              std::string::npos);
}

TEST(FrameOptions, BadFramesAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"--frame 'Canon EOS 6D,0' AngleOfView", "focal length must be above 0"},
        {"--frame -36x24,50 AngleOfView", "width and height must be above 0"},
        {"--frame 'No Such Camera,400' AngleOfView", "unknown camera 'No Such Camera'"},
        {"--frame 'Canon EOS 6D,400' --mosaic 0x2 MosaicOfField.1", "rows and columns"},
        {"--frame 'Canon EOS 6D,400' --mosaic 100x100 MosaicOfField.1", "at most 1000 frames"},
        {"--frame 'Canon EOS 6D,400' --mosaic 3x2,-1 MosaicOfField.1", "overlap"},
        {"--frame 'Canon EOS 6D,400' --mosaic 3x2,2 MosaicOfField.1", "overlap"},
        {"--mosaic 3x2 MosaicOfField.1", "--mosaic needs --frame"},
        {"--fov 0 FieldOfViewCircle", "bad --fov"},
        {"--fov 1.5 --roll x FieldOfViewCircle", "bad --roll"},
    };
    TempDir dir;
    for (const auto& [args, message] : cases) {
        int status = -1;
        EXPECT_EQ(Zcm(kSky + args, &status, dir.File("err")), "") << args;
        EXPECT_EQ(status, 2) << args;
        EXPECT_NE(ReadFileBytes(dir.File("err")).find(message), std::string::npos)
            << args << ": " << ReadFileBytes(dir.File("err"));
    }
}

}  // namespace
