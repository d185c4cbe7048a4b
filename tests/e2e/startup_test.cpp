#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"
#include "support/test_platform.h"

namespace raz {
namespace {

TEST(Startup, WithoutAnyFilesTheDriverStartsOnDefaults) {
  test::TestPlatform tp;
  HeadlessHost host(tp.platform);
  host.Start();
  TForm1& f = host.form1();
  EXPECT_FALSE(f.Timer1.Enabled);
  EXPECT_TRUE(f.Timer2.Enabled);
  EXPECT_EQ(host.state().link.LinkOpenPending, 1);
  EXPECT_EQ(f.N1.Caption, "定位");
  EXPECT_FALSE(f.N4.Checked);
  EXPECT_EQ(host.state().keys.KeyMarginLeft, 0);
  EXPECT_EQ(host.state().keys.KeyMarginRight, 28450);
  EXPECT_TRUE(host.shownErrors().empty());
}

}  // namespace
}  // namespace raz
