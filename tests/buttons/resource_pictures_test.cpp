#include <gtest/gtest.h>

#include "buttons/resource_pictures.h"
#include "tests/support/fake_platform.h"

namespace murmora::fakes {
namespace {

struct PictureFixture : ::testing::Test {
    FakeFiles files;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};

    std::size_t temporaryFiles() { return files.filesIn("/tmp", "~rs").size(); }
};

TEST_F(PictureFixture, ALoadedPictureLeavesNoTemporaryFile) {
    const Result<Picture> picture = pictures.loadCustomPicture(105);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->name, "custom:105");
    EXPECT_TRUE(pictures.loadCustomPicture(101));
    EXPECT_EQ(temporaryFiles(), 0u);
}

TEST_F(PictureFixture, AMissingIdOrAFileThatIsNoPictureLeavesItsTemporaryFile) {
    EXPECT_EQ(pictures.loadCustomPicture(113).error(), ResourceError::missing);
    ASSERT_EQ(temporaryFiles(), 1u);
    EXPECT_TRUE(files.files.at(files.filesIn("/tmp", "~rs")[0]).empty());

    const std::string garbage = "not a picture";
    resources.custom[105] = std::vector<unsigned char>(garbage.begin(), garbage.end());
    EXPECT_EQ(pictures.loadCustomPicture(105).error(), ResourceError::unreadable);
    EXPECT_EQ(temporaryFiles(), 2u);
}

TEST_F(PictureFixture, WithoutATemporaryFolderNoPictureAndNoFile) {
    files.temp = "";
    EXPECT_FALSE(pictures.loadCustomPicture(103));
    EXPECT_TRUE(files.files.empty());
}

} // namespace
} // namespace murmora::fakes
