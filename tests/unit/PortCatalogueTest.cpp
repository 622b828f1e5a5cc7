// The port list's bookkeeping over any platform's enumeration: the remembered device found under
// whatever name it has now, and kept in the memory only when another device becomes ready.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "link/PortCatalogue.h"

namespace tolvane {
namespace {

class CMemoryStore : public IDeviceMemory {
 public:
  std::string Recall() const override { return key; }
  void Remember(const std::string& remembered) override {
    key = remembered;
    ++writes;
  }
  std::string key;
  int writes = 0;
};

class CScriptedPorts : public CPortCatalogue {
 public:
  explicit CScriptedPorts(IDeviceMemory* memory) : CPortCatalogue(memory) {}
  CListing Enumerate() override {
    ++listings;
    return listing;
  }
  std::string ListingStamp() override { return stamp; }
  CListing listing;
  std::string stamp;
  int listings = 0;
};

CPortIdentity Usb(const std::string& serialNumber) {
  return {"/dev/ttyUSB0", "", "", "10c4:ea60", serialNumber, false};
}

TEST(PortCatalogue, findsTheRememberedDeviceByItsSerialNumberUnderAnyName) {
  CMemoryStore memory;
  memory.key = "usb:10c4:ea60:0002";
  CScriptedPorts ports(&memory);
  EXPECT_TRUE(ports.HasRememberedPort());
  ports.listing = {{{"COM33 (ttyUSB0)", Usb("0001")}, {"COM34 (ttyUSB1)", Usb("0002")}}, "COM33 (ttyUSB0)"};
  EXPECT_EQ(ports.ListPorts(), (std::vector<std::string>{"COM33 (ttyUSB0)", "COM34 (ttyUSB1)"}));
  EXPECT_EQ(ports.RememberedPort(), "COM34 (ttyUSB1)");
  EXPECT_EQ(ports.PreferredPort(), "COM33 (ttyUSB0)");
  EXPECT_EQ(ports.IdentifyPort("COM34 (ttyUSB1)").serialNumber, "0002");
  EXPECT_EQ(ports.IdentifyPort("COM9").path, "");

  ports.listing = {{{"COM33 (ttyUSB0)", Usb("0001")}}, ""};  // unplugged
  ports.ListPorts();
  EXPECT_EQ(ports.RememberedPort(), "");
  EXPECT_EQ(ports.PreferredPort(), "");
  EXPECT_TRUE(ports.HasRememberedPort());
}

TEST(PortCatalogue, aDeviceWithoutSerialNumberIsRememberedByItsNameAndWrittenOnlyWhenItChanges) {
  CMemoryStore memory;
  CScriptedPorts ports(&memory);
  ports.listing = {{{"COM1 (ttyS0)", {}}, {"COM3", {}}}, ""};
  ports.ListPorts();
  EXPECT_FALSE(ports.HasRememberedPort());
  ports.RememberPort("COM1 (ttyS0)");
  ports.RememberPort("COM1 (ttyS0)");
  EXPECT_EQ(memory.key, "device:ttyS0");
  ports.RememberPort("COM3");  // a port named as its device is, as on Windows
  EXPECT_EQ(memory.key, "device:COM3");
  EXPECT_EQ(memory.writes, 2);
  EXPECT_EQ(ports.RememberedPort(), "COM3");

  ports.RememberPort("COM7 (ttyACM0)");  // gone from the list since: kept, but not offered
  EXPECT_EQ(memory.key, "device:ttyACM0");
  EXPECT_EQ(ports.RememberedPort(), "COM3");
  ports.RememberPort("");
  EXPECT_EQ(memory.writes, 3);
}

TEST(PortCatalogue, withoutAMemoryNothingIsRemembered) {
  CScriptedPorts ports(nullptr);
  ports.listing = {{{"COM1 (ttyS0)", {}}}, ""};
  ports.ListPorts();
  ports.RememberPort("COM1 (ttyS0)");
  EXPECT_FALSE(ports.HasRememberedPort());
  EXPECT_EQ(ports.RememberedPort(), "");
}

TEST(PortCatalogue, saysThePortsMayHaveChangedOnlyWhenItsStampMovedOrItHasNone) {
  CScriptedPorts ports(nullptr);
  EXPECT_TRUE(ports.MayHaveChangedSinceListed());  // never listed
  ports.ListPorts();
  EXPECT_TRUE(ports.MayHaveChangedSinceListed());  // a platform that cannot tell
  ports.stamp = "dev@1";
  ports.ListPorts();
  EXPECT_FALSE(ports.MayHaveChangedSinceListed());
  ports.stamp = "dev@2";  // a device came or went
  EXPECT_TRUE(ports.MayHaveChangedSinceListed());
  ports.ListPorts();
  EXPECT_FALSE(ports.MayHaveChangedSinceListed());
}

// Lists on the thread that asks in advance, and counts its listings.
class CListingThreads : public CPortCatalogue {
 public:
  CListingThreads() : CPortCatalogue(nullptr) {}
  ~CListingThreads() override { WaitForListingInAdvance(); }
  CListing Enumerate() override {
    lister = std::this_thread::get_id();
    ++listings;
    return {{{"COM" + std::to_string(listings), {}}}, ""};
  }
  std::thread::id lister;
  std::atomic<int> listings{0};
};

TEST(PortCatalogue, aListingStartedInAdvanceServesTheNextListOnlyAndRunsOffTheCallersThread) {
  CListingThreads ports;
  ports.ListInAdvance();
  ports.ListInAdvance();  // one listing in advance at a time
  EXPECT_EQ(ports.ListPorts(), std::vector<std::string>{"COM1"});
  EXPECT_NE(ports.lister, std::this_thread::get_id());
  EXPECT_EQ(ports.ListPorts(), std::vector<std::string>{"COM2"});
  EXPECT_EQ(ports.lister, std::this_thread::get_id());
  ports.ListInAdvance();  // never taken: the destructor waits for it
}

}  // namespace
}  // namespace tolvane
