#include "link/PortCatalogue.h"

#include "link/PortNaming.h"

namespace tolvane {
namespace {

// Without a USB serial number a device is remembered by its name: the one in the caption
// ("ttyUSB0"), or the caption itself where the port's name is all there is ("COM3").
std::string KeyOf(const std::string& caption, const CPortIdentity& identity) {
  const std::string device = DeviceOfCaption(caption);
  return RememberKey(identity, device.empty() ? caption : device);
}

}  // namespace

CPortCatalogue::CPortCatalogue(IDeviceMemory* memory)
    : m_pMemory(memory), m_strRememberedKey(memory ? memory->Recall() : std::string()) {}

CPortCatalogue::CStampedListing CPortCatalogue::ListWithStamp() {
  // Taken first: a port that comes during the listing changes the stamp after it.
  std::string stamp = ListingStamp();
  return {Enumerate(), std::move(stamp)};
}

void CPortCatalogue::ListInAdvance() {
  if (m_listingInAdvance.valid()) return;
  m_listingInAdvance = std::async(std::launch::async, [this] { return ListWithStamp(); });
}

bool CPortCatalogue::MayHaveChangedSinceListed() {
  return m_strListedStamp.empty() || ListingStamp() != m_strListedStamp;
}

void CPortCatalogue::WaitForListingInAdvance() {
  if (m_listingInAdvance.valid()) m_listingInAdvance.wait();
}

std::vector<std::string> CPortCatalogue::ListPorts() {
  CStampedListing stamped = m_listingInAdvance.valid() ? m_listingInAdvance.get() : ListWithStamp();
  m_strListedStamp = std::move(stamped.stamp);
  CListing& listing = stamped.listing;
  std::vector<std::string> captions;
  m_identities.clear();
  m_strRemembered.clear();
  for (CListedPort& port : listing.ports) {
    if (!m_strRememberedKey.empty() && m_strRemembered.empty() &&
        KeyOf(port.caption, port.identity) == m_strRememberedKey)
      m_strRemembered = port.caption;
    captions.push_back(port.caption);
    m_identities[port.caption] = std::move(port.identity);
  }
  m_strPreferred = std::move(listing.preferred);
  return captions;
}

CPortIdentity CPortCatalogue::IdentifyPort(const std::string& caption) {
  const auto found = m_identities.find(caption);
  return found == m_identities.end() ? CPortIdentity{} : found->second;
}

void CPortCatalogue::RememberPort(const std::string& caption) {
  if (!m_pMemory) return;
  const std::string key = KeyOf(caption, IdentifyPort(caption));
  if (key.empty()) return;
  if (m_identities.count(caption)) m_strRemembered = caption;
  if (key == m_strRememberedKey) return;
  m_strRememberedKey = key;
  m_pMemory->Remember(key);
}

}  // namespace tolvane
