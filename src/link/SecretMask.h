#pragma once

#include <string>
#include <string_view>

namespace tolvane {

enum class TraceDirection { ToDevice, FromDevice };

// Stands for every secret, whatever its length, so that neither the secret nor its length shows.
inline constexpr char kSecretMask[] = "\u2022\u2022\u2022\u2022";

// The message (without its terminator) with the secret it carries replaced by kSecretMask: the
// account password, the dealer password, the APN password, the Wi-Fi password and the Bluetooth
// PIN. Names, IMEIs and addresses stay readable. Where a field text holds a separator itself, more
// is masked rather than less.
std::string MaskSecrets(TraceDirection direction, std::string_view message);

}  // namespace tolvane
