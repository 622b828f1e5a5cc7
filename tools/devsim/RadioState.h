#pragma once

#include <string>
#include <vector>

namespace tolvane::devsim {

// What the simulated intercom's radios remember. It lasts for the whole run: the PC closing the
// link switches no radio off.

struct CWifiNetwork {
  std::string strName;
  std::string strAddress;
  int nLevel;  // signal bars, 0 to 4, around which the reported level moves
};

struct CWifiState {
  bool bOn = false;
  std::string strJoined;  // address of the network joined; empty: none
  int nScans = 0;         // scans since start, so that levels change from one to the next
  std::vector<CWifiNetwork> networks = {
      {"Office-5G", "3c:84:6a:01:22:9f", 4},
      {"Café Müller", "d8:07:b6:5e:3a:10", 3},
      // A "^" in a name shifts the fields of the row the PC reads.
      {"Lab^Guest", "a0:63:91:7e:10:04", 2},
      {"家庭网络", "f4:f2:6d:22:81:c7", 2},
      {"AndroidAP_7F21", "62:1d:91:0a:7f:21", 1},
  };
};

struct CBluetoothDevice {
  std::string strName;
  std::string strAddress;
  bool bPaired;
};

struct CBluetoothState {
  bool bOn = false;
  std::vector<CBluetoothDevice> devices = {
      {"Mirl PTT Headset", "00:1A:7D:DA:71:13", true},
      {"JBL Flip 5", "F8:DF:15:3A:9C:02", false},
      {"Car Kit 2", "9C:8C:6E:11:40:7B", true},
      {"Lautsprecher Küche", "44:73:D6:0E:55:21", false},
  };
};

struct CGpsState {
  bool bOn = false;
  int nSecondsOn = 0;  // since the receiver was switched on: it searches, then holds a fix
};

struct CRadioState {
  CWifiState wifi;
  CBluetoothState bluetooth;
  CGpsState gps;
};

}  // namespace tolvane::devsim
