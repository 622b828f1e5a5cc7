#include "link/SecretMask.h"

#include <algorithm>
#include <cctype>

#include "link/Framing.h"
#include "res/DeviceCommands.h"

namespace tolvane {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// A key in another letter case is never routed, but masking it costs nothing.
bool IsKey(std::string_view key, std::string_view wanted) {
  return std::equal(key.begin(), key.end(), wanted.begin(), wanted.end(), [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
  });
}

std::size_t After(std::string_view value, char separator, std::size_t from = 0) {
  const std::size_t at = value.find(separator, from);
  return at == kNone ? kNone : at + 1;
}

// Where `rule`'s secret in `value` starts; kNone when it carries none.
std::size_t SecretStart(ESecret rule, TraceDirection direction, std::string_view value) {
  switch (rule) {
    case ESecret::None: return kNone;
    // A name holding "^" hides its own rest too.
    case ESecret::AfterName: return After(value, kFieldSeparator);
    case ESecret::WholeValue: {
      // The device answers "ok" or "fail"; anything else might be the secret itself.
      const bool verdict = direction == TraceDirection::FromDevice && (value == "ok" || value == "fail");
      return verdict ? kNone : 0;
    }
    // From the first "@" after the name, so a password holding "@" is hidden whole.
    case ESecret::ApnPassword: {
      const std::size_t user = After(value, kFieldSeparator);
      return user == kNone ? kNone : After(value, '@', user);
    }
    // Addresses never hold "^", they come from fields cut at it.
    case ESecret::PairingPin: {
      constexpr std::string_view kPair = "pair^";
      const std::size_t word = After(value, kFieldSeparator);
      if (word != kNone && value.substr(word).starts_with(kPair)) return word + kPair.size();
      return kNone;
    }
  }
  return kNone;
}

// The earliest secret that any command sent under `key` carries in `value`.
std::size_t SecretStart(TraceDirection direction, std::string_view key, std::string_view value) {
  std::size_t start = kNone;
  for (const CDeviceCommand& command : kDeviceCommands)
    if (IsKey(key, command.key)) start = std::min(start, SecretStart(command.secret, direction, value));
  return start;
}

}  // namespace

std::string MaskSecrets(TraceDirection direction, std::string_view message) {
  const std::size_t colon = message.find(kKeySeparator);
  if (colon == kNone) return std::string(message);
  const std::size_t secret = SecretStart(direction, message.substr(0, colon), message.substr(colon + 1));
  if (secret == kNone) return std::string(message);
  std::string masked(message.substr(0, colon + 1 + secret));
  masked += kSecretMask;
  return masked;
}

std::string MaskCommand(std::string_view command) {
  const bool terminated = !command.empty() && command.back() == kTerminator;
  if (terminated) command.remove_suffix(1);
  std::string masked = MaskSecrets(TraceDirection::ToDevice, command);
  if (terminated) masked += kTerminator;
  return masked;
}

}  // namespace tolvane
