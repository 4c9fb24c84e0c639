#pragma once
// Addresses as the mail goes: exactly one plain mailbox address (a dot-atom before the "@", a domain of
// letters, digits and hyphens, an internationalised domain allowed and sent in its ASCII form), and
// the sender, which may carry a display name. Anything else is refused with the reason, never guessed
// at: a slip must reach its owner and nobody else.
#include <QString>
#include <optional>

#include "mail/mime_message.h"

namespace slp::mail {

// `text` as one address, or empty with the reason in *fault (when given).
QString checkAddress(const QString& text, QString* fault = nullptr);
// The address with its domain in the ASCII form the SMTP envelope and the headers carry.
QString wireAddress(const QString& address);
// The sender: "名称 <address>", "\"名称\" <address>" or a bare address, with no line breaks or other
// controls anywhere; nullopt with the reason in *fault.
std::optional<Mailbox> parseSender(const QString& text, QString* fault = nullptr);

}  // namespace slp::mail
