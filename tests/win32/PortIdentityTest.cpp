// What Windows says about a port: the tip's facts, the remembered device and why an open failed.
#include <gtest/gtest.h>

#include "link/PortTexts.h"
#include "win32/PlugAndPlayPorts.h"
#include "win32/RegistryDeviceMemory.h"
#include "win32/Utf16.h"
#include "win32/Win32PortList.h"
#include "win32/Win32SerialPort.h"

namespace tolvane::win32 {
namespace {

TEST(PortIdentity, usbIdAndSerialNumberComeFromTheInstanceId) {
  const struct {
    const wchar_t* instanceId;
    const char* usbId;
    const char* serialNumber;
  } kCases[] = {
      {L"USB\\VID_10C4&PID_EA60\\0001", "10c4:ea60", "0001"},
      {L"usb\\vid_067b&pid_2303\\5&2A3F1C2D&0&2", "067b:2303", ""},  // Windows' own id: no serial number
      {L"FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000", "0403:6001", ""},
      {L"ACPI\\PNP0501\\1", "", ""},  // the PC's own port
      {L"USB\\VID_10C4&PID_EA6\\1", "", ""},
      {L"", "", ""},
  };
  for (const auto& c : kCases) {
    std::string usbId = "stale", serialNumber = "stale";
    ParseDeviceInstanceId(c.instanceId, usbId, serialNumber);
    EXPECT_EQ(usbId, c.usbId) << Narrow(c.instanceId);
    EXPECT_EQ(serialNumber, c.serialNumber) << Narrow(c.instanceId);
  }
}

TEST(PortIdentity, eachListedPortGetsItsDriverNameAndWhatPlugAndPlayKnows) {
  CPortIdentity bridge;
  bridge.description = "CP210x USB to UART Bridge";
  bridge.usbId = "10c4:ea60";
  const auto identities = IdentifyPorts({{L"\\Device\\Silabser0", L"COM4"},
                                         {L"\\Device\\Serial0", L"COM1"},
                                         {L"\\Device\\X", L"LPT1"},
                                         {L"\\Device\\Other", L"COM4"}},
                                        {{4, bridge}, {9, CPortIdentity{}}});
  ASSERT_EQ(identities.size(), 2u);
  EXPECT_EQ(identities.at("COM4").path, "\\Device\\Silabser0");
  EXPECT_EQ(identities.at("COM4").description, "CP210x USB to UART Bridge");
  EXPECT_EQ(identities.at("COM1").path, "\\Device\\Serial0");
  EXPECT_EQ(PortTip(identities.at("COM4")),
            "CP210x USB to UART Bridge\nUSB ID (VID:PID): 10c4:ea60\n\\Device\\Silabser0");
}

TEST(PortIdentity, openErrorsNameTheCauseTheStatusStripGives) {
  EXPECT_EQ(DescribeOpenFailure(OpenFailureOfError(ERROR_ACCESS_DENIED), "COM3"),
            "COM3 is held by another program, which could not be found");
  EXPECT_EQ(OpenFailureOfError(ERROR_SHARING_VIOLATION).cause, COpenFailure::Cause::Held);
  EXPECT_EQ(DescribeOpenFailure(OpenFailureOfError(ERROR_FILE_NOT_FOUND), "COM3"), "COM3 is no longer there");
  EXPECT_EQ(OpenFailureOfError(ERROR_GEN_FAILURE).cause, COpenFailure::Cause::Unknown);
}

// A registry key of the test's own under HKEY_CURRENT_USER, gone afterwards.
class RememberedDevice : public ::testing::Test {
 protected:
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
  static constexpr wchar_t kKey[] = L"Software\\Tolvane\\Tests\\RememberedDevice";
};

TEST_F(RememberedDevice, isKeptAcrossRunsAndFoundInTheList) {
  {
    CRegistryDeviceMemory memory(kKey);
    EXPECT_EQ(memory.Recall(), "");
    CWin32PortList ports(&memory);
    const std::vector<std::string> captions = ports.ListPorts();
    if (captions.empty()) GTEST_SKIP() << "the system lists no serial port";
    EXPECT_FALSE(ports.HasRememberedPort());
    EXPECT_EQ(ports.RememberedPort(), "");
    ports.RememberPort(captions.back());
    EXPECT_EQ(ports.RememberedPort(), captions.back());
  }
  CRegistryDeviceMemory memory(kKey);
  EXPECT_EQ(memory.Recall(), "device:" + CWin32PortList().ListPorts().back());
  CWin32PortList nextRun(&memory);
  const std::vector<std::string> captions = nextRun.ListPorts();
  EXPECT_TRUE(nextRun.HasRememberedPort());
  EXPECT_EQ(nextRun.RememberedPort(), captions.back());
}

TEST_F(RememberedDevice, aDeviceThatIsNotThereIsRememberedButNotOffered) {
  CRegistryDeviceMemory(kKey).Remember("device:COM250");
  CRegistryDeviceMemory memory(kKey);
  CWin32PortList ports(&memory);
  ports.ListPorts();
  EXPECT_TRUE(ports.HasRememberedPort());
  EXPECT_EQ(ports.RememberedPort(), "");
}

}  // namespace
}  // namespace tolvane::win32
