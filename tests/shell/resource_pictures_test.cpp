#include <gtest/gtest.h>

#include "shell/resource_pictures.h"
#include "tests/fakes/fake_platform.h"

namespace murmora::fakes {
namespace {

struct PictureFixture : ::testing::Test {
    FakeFiles files;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};
};

TEST_F(PictureFixture, ALoadedPictureLeavesNoTemporaryFile) {
    const Picture picture = pictures.LoadCustomPicture(105, "Custom");
    EXPECT_TRUE(picture);
    EXPECT_EQ(picture.name, "custom:105");
    EXPECT_TRUE(files.FilesIn("/tmp", "~rs").empty());
}

TEST_F(PictureFixture, TheResourceTypeIsFoundWhateverItsCase) {
    EXPECT_TRUE(pictures.LoadCustomPicture(101, "CUSTOM"));
    EXPECT_TRUE(pictures.LoadCustomPicture(101, "custom"));
}

TEST_F(PictureFixture, AMissingIdYieldsNoPictureAndLeavesOneEmptyFile) {
    EXPECT_FALSE(pictures.LoadCustomPicture(113, "Custom"));
    const auto left = files.FilesIn("/tmp", "~rs");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(files.files.at(left[0]).empty());
}

TEST_F(PictureFixture, ANamedFileIsUsedAndDeletedToo) {
    EXPECT_TRUE(pictures.LoadCustomPicture(103, "Custom", "/tmp/button.gif"));
    EXPECT_FALSE(files.files.count("/tmp/button.gif"));
}

TEST_F(PictureFixture, NoTemporaryFolderMeansNoPicture) {
    files.tempFolder = "";
    EXPECT_FALSE(pictures.LoadCustomPicture(103, "Custom"));
    EXPECT_TRUE(files.files.empty());
}

TEST_F(PictureFixture, AFileThatIsNoPictureIsAnErrorAndStays) {
    const std::string garbage = "not a picture";
    resources.custom[105] = std::vector<unsigned char>(garbage.begin(), garbage.end());
    EXPECT_THROW(pictures.LoadCustomPicture(105, "Custom"), PictureError);
    EXPECT_EQ(files.FilesIn("/tmp", "~rs").size(), 1u);
}

TEST_F(PictureFixture, MakeTempFileNameWithAFolderGivenDoesNotNeedTheTemporaryFolder) {
    files.tempFolder = "";
    std::string name = "unchanged";
    EXPECT_TRUE(pictures.MakeTempFileName("/home/user", "~rs", 0, name));
    EXPECT_EQ(name.rfind("/home/user/~rs", 0), 0u);
    EXPECT_TRUE(files.files.count(name));
}

TEST_F(PictureFixture, MakeTempFileNameWithoutATemporaryFolderLeavesTheNameAlone) {
    files.tempFolder = "";
    std::string name = "unchanged";
    EXPECT_FALSE(pictures.MakeTempFileName("", "~rs", 0, name));
    EXPECT_EQ(name, "unchanged");
}

TEST_F(PictureFixture, EveryCallMakesAFreshFile) {
    std::string first, second;
    pictures.MakeTempFileName("", "~rs", 0, first);
    pictures.MakeTempFileName("", "~rs", 0, second);
    EXPECT_NE(first, second);
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNul("no nul here"), "no nul here");
    EXPECT_EQ(TrimAtNul(std::string("\0abc", 4)), "");
    EXPECT_EQ(TrimAtNul(std::string("C:\0more\0", 8)), "C:");
}

} // namespace
} // namespace murmora::fakes
