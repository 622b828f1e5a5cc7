#pragma once

#include <future>
#include <map>
#include <string>
#include <vector>

#include "link/IDeviceMemory.h"
#include "link/IPort.h"

namespace tolvane {

// The port list's bookkeeping over the platform's enumeration: what is known of each entry, the
// entry most likely meant, and the remembered device. The remembered key is read from the memory
// once and written only when another device becomes ready.
class CPortCatalogue : public IPortList {
 public:
  // Without a memory, no device is remembered.
  explicit CPortCatalogue(IDeviceMemory* memory);

  // Starts the next listing on a thread of its own, so that it overlaps whatever the caller does
  // before it asks (at start-up, building the window); that ListPorts takes it. A derived class
  // that calls this waits for it in its destructor (WaitForListingInAdvance), since the listing
  // runs its Enumerate.
  void ListInAdvance();
  std::vector<std::string> ListPorts() final;
  std::string PreferredPort() final { return m_strPreferred; }
  CPortIdentity IdentifyPort(const std::string& caption) final;
  void RememberPort(const std::string& caption) final;
  bool HasRememberedPort() final { return !m_strRememberedKey.empty(); }
  std::string RememberedPort() final { return m_strRemembered; }
  bool MayHaveChangedSinceListed() final;

 protected:
  struct CListedPort {
    std::string caption;  // "COM33 (ttyUSB0)", or "COM3" where the port's name is the device's
    CPortIdentity identity;
  };
  struct CListing {
    std::vector<CListedPort> ports;  // in list order, each caption once
    std::string preferred;           // the likely device's caption; empty when none stands out
  };
  // What the system offers now. Called on another thread when listed in advance.
  virtual CListing Enumerate() = 0;
  void WaitForListingInAdvance();
  // Changes whenever a port may have come or gone (say, the times its folders last changed); empty
  // where the platform cannot tell, and then every look lists again.
  virtual std::string ListingStamp() { return {}; }

 private:
  struct CStampedListing {
    CListing listing;
    std::string stamp;  // ListingStamp() as it was just before the listing
  };
  CStampedListing ListWithStamp();

  IDeviceMemory* m_pMemory;
  std::string m_strRememberedKey;
  std::string m_strPreferred;
  std::string m_strRemembered;
  std::map<std::string, CPortIdentity> m_identities;  // by caption, as of the last ListPorts
  std::future<CStampedListing> m_listingInAdvance;
  std::string m_strListedStamp;  // of the last ListPorts
};

}  // namespace tolvane
