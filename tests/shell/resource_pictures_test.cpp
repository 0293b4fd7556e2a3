#include <gtest/gtest.h>

#include "shell/resource_pictures.h"
#include "tests/fakes/fake_platform.h"

namespace murmora::fakes {
namespace {

struct PictureFixture : ::testing::Test {
    FakeFiles files;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};

    std::size_t TemporaryFiles() { return files.FilesIn("/tmp", "~rs").size(); }
};

TEST_F(PictureFixture, ALoadedPictureLeavesNoTemporaryFileWhateverTheTypesCase) {
    const Picture picture = pictures.LoadCustomPicture(105, "Custom");
    EXPECT_TRUE(picture);
    EXPECT_EQ(picture.name, "custom:105");
    EXPECT_TRUE(pictures.LoadCustomPicture(101, "CUSTOM"));
    EXPECT_TRUE(pictures.LoadCustomPicture(101, "custom"));
    EXPECT_TRUE(pictures.LoadCustomPicture(103, "Custom", "/tmp/button.gif"));
    EXPECT_FALSE(files.files.count("/tmp/button.gif")) << "a named file is deleted too";
    EXPECT_EQ(TemporaryFiles(), 0u);
}

TEST_F(PictureFixture, AMissingIdOrAFileThatIsNoPictureLeavesItsTemporaryFile) {
    EXPECT_FALSE(pictures.LoadCustomPicture(113, "Custom"));
    ASSERT_EQ(TemporaryFiles(), 1u);
    EXPECT_TRUE(files.files.at(files.FilesIn("/tmp", "~rs")[0]).empty());

    const std::string garbage = "not a picture";
    resources.custom[105] = std::vector<unsigned char>(garbage.begin(), garbage.end());
    EXPECT_THROW(pictures.LoadCustomPicture(105, "Custom"), PictureError);
    EXPECT_EQ(TemporaryFiles(), 2u);
}

TEST_F(PictureFixture, WithoutATemporaryFolderOnlyAGivenFolderYieldsAFile) {
    files.tempFolder = "";
    EXPECT_FALSE(pictures.LoadCustomPicture(103, "Custom"));
    EXPECT_TRUE(files.files.empty());
    std::string name = "unchanged";
    EXPECT_FALSE(pictures.MakeTempFileName("", "~rs", 0, name));
    EXPECT_EQ(name, "unchanged");
    EXPECT_TRUE(pictures.MakeTempFileName("/home/user", "~rs", 0, name));
    EXPECT_EQ(name.rfind("/home/user/~rs", 0), 0u);
    std::string second;
    EXPECT_TRUE(pictures.MakeTempFileName("/home/user", "~rs", 0, second));
    EXPECT_NE(second, name) << "every call makes a fresh file";
    EXPECT_TRUE(files.files.count(name) && files.files.count(second));
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNul("no nul here"), "no nul here");
    EXPECT_EQ(TrimAtNul(std::string("\0abc", 4)), "");
    EXPECT_EQ(TrimAtNul(std::string("C:\0more\0", 8)), "C:");
}

} // namespace
} // namespace murmora::fakes
