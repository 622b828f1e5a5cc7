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

// A command as it is queued, terminator included, masked as above: for every output that shows
// what was sent, so that a new secret is hidden everywhere at once.
std::string MaskCommand(std::string_view command);

}  // namespace tolvane
