#include <gtest/gtest.h>

#include <string>

#include "platform/host_path.h"

namespace {

std::string HostOf(const std::string& windowsPath) {
  std::string host;
  EXPECT_TRUE(platform::ToHostPath(windowsPath, host)) << windowsPath;
  return host;
}

// A stored entry such as "T:\..\..\" must not walk the host's file system above the folder
// drive T: stands for: Windows stops ".." at the root of the drive.
TEST(HostPath, DotDotStopsAtTheDriveRoot) {
  platform::MapDrive('T', "/srv/drive-t");
  EXPECT_EQ(HostOf("T:\\..\\..\\..\\"), "/srv/drive-t/");
  EXPECT_EQ(HostOf("T:\\..\\etc\\passwd"), "/srv/drive-t/etc/passwd");
  EXPECT_EQ(HostOf("T:\\a\\..\\..\\b\\.\\c\\"), "/srv/drive-t/b/c/");
  EXPECT_EQ(HostOf("T:\\sub\\.."), "/srv/drive-t/");
  EXPECT_EQ(HostOf("T:\\data\\a.doc"), "/srv/drive-t/data/a.doc");
  EXPECT_EQ(HostOf("Z:\\..\\tmp"), "/tmp");
  platform::MapDrive('T', "");
}

}  // namespace
