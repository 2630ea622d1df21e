// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom click's framing aids on the built-in sky: the texts from the camera database,
// and bad frames refused with a clear message and status 2.
#include "Zcm.h"
#include "support/Accuracy.h"

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
    TempDir dir;
    for (const std::string& row : DataRows("cli/bad_frames.txt", 2)) {
        const std::string args = row.substr(0, row.find('\t')),
                          message = row.substr(args.size() + 1);
        int status = -1;
        EXPECT_EQ(Zcm(kSky + args, &status, dir.File("err")), "") << args;
        EXPECT_EQ(status, 2) << args;
        EXPECT_NE(ReadFileBytes(dir.File("err")).find(message), std::string::npos)
            << args << ": " << ReadFileBytes(dir.File("err"));
    }
}

}  // namespace
