#include <gtest/gtest.h>

#include <thread>

#include "data/PacketFixtures.h"
#include "data/SensorConverter.h"
#include "device/AltimeterLink.h"
#include "support/LogCapture.h"

namespace {

class NoDevices : public HidBackend {
 public:
  bool GetInterfacePath(int, std::wstring&) override { return false; }
  bool GetAttributes(const std::wstring&, HidAttributes&) override { return false; }
  HidOpenResult Open(const std::wstring&) override { return {}; }
};

class AltimeterLinkSets : public testing::Test {
 protected:
  LogCapture log;  // first, so it hears the link's construction
  NoDevices backend;
  AltimeterLink link{backend};
};

TEST_F(AltimeterLinkSets, StartsWithDefaultsAndTheInitialView) {
  EXPECT_EQ(0x043B, link.settings.StoredChecksum());
  EXPECT_EQ(0, link.viewRange.X);
  EXPECT_EQ(0, link.viewRange.Y);
  EXPECT_EQ(100, link.viewRange.Width);
  EXPECT_EQ(100, link.viewRange.Height);
  EXPECT_EQ(0, link.viewWidth);
  EXPECT_EQ(0, link.viewHeight);
  EXPECT_EQ(1, link.fastSet.Snapshot().range.Width);
  EXPECT_EQ("", log.Text());
}

TEST_F(AltimeterLinkSets, SetMinusOneChangesNothing) {
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(800)})};
  link.currentSet.setNumber = 4;
  EXPECT_FALSE(link.ComputeDataSet(-1));
  EXPECT_FALSE(link.SelectDataSet(-1));
  EXPECT_EQ(4, link.currentSet.setNumber);
  EXPECT_TRUE(link.currentSet.IsEmpty());
  EXPECT_EQ(100, link.viewRange.Width);
}

TEST_F(AltimeterLinkSets, SelectBuildsWithTheSettingsOffsetAndFramesTheSet) {
  std::vector<uint16_t> climb;
  for (int i = 0; i < 25; ++i) climb.push_back(SampleWord(836 - i));
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(500)}), MakePacket(kStartPacketKind, climb)};
  link.settings.adcOffset = 3;
  ASSERT_TRUE(link.SelectDataSet(1));
  const auto lock = link.LockData();
  EXPECT_EQ(1, link.currentSet.setNumber);
  ASSERT_EQ(25, link.currentSet.SampleCount());
  SensorConverter converter;
  converter.SetOffset(3);
  EXPECT_DOUBLE_EQ(converter.Altitude(836), link.currentSet.altitudeMsl[0]);
  EXPECT_EQ(2, link.viewRange.Width);
  EXPECT_LE(link.viewRange.Y, 0);
  EXPECT_GT(link.viewRange.Height, 0);
}

TEST_F(AltimeterLinkSets, MissingSetSelectsAnEmptySet) {
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(800)})};
  EXPECT_TRUE(link.SelectDataSet(5));
  EXPECT_TRUE(link.currentSet.IsEmpty());
  EXPECT_EQ(5, link.currentSet.setNumber);
  EXPECT_EQ(0, link.viewRange.Width);
  EXPECT_EQ(0, link.viewRange.Height);
}

TEST_F(AltimeterLinkSets, DirectoryQueriesReadThePacketList) {
  link.packets = PacketsOfKinds("cScS");
  EXPECT_EQ(2, link.CountSets());
  EXPECT_EQ(3, link.SetStartPacket(1));
  EXPECT_EQ(2, link.SetPacketCount(0));
  EXPECT_EQ(-1, link.SetOfPacket(0));
  EXPECT_EQ(1, link.SetOfPacket(3));
}

TEST_F(AltimeterLinkSets, SelectionWaitsForTheDataLock) {
  link.packets = PacketsOfKinds("S");
  auto lock = link.LockData();
  std::thread selector([this] { link.SelectDataSet(0); });
  EXPECT_TRUE(link.currentSet.IsEmpty());
  lock.unlock();
  selector.join();
  EXPECT_EQ(1, link.currentSet.SampleCount());
}

}  // namespace
