#pragma once
// The conventions of the vendor's catalogue services: the identity sent with every request, the
// escaping of form values, and the reading of answers by markers (never parsed as XML).

#include <string>
#include <string_view>
#include <vector>

#include "net/http_client.h"

namespace kelmora::net {

// The application identifier sent as "appid": a GUID of this program, in braces (38 characters).
inline constexpr const char* AppGuid = "{3E7A9C41-5B2D-4F86-A0C3-8D14E6B72F95}";

struct TUserIdentity {
  std::string AppId = AppGuid;
  std::string AppVer;     // the program's version text
  std::string InstallId;  // made once per installation (NewInstallId) and kept in the configuration
  std::string UserName;
  std::string UserMail;
};

// A new random installation identifier: a version-4 UUID in braces, upper case.
std::string NewInstallId();

// The identity fields of a catalogue request, in this order: "appid", "appver", "hwdid", "cl_name"
// and "cl_mail" (both CEscape'd), "cl_lcid".
TFormFields IdentityFields(const TUserIdentity& identity, int lcid);

// The escaping of form values: codes 0..6 -> "\0".."\6", 7 "\a", 8 "\b", 9 "\t", 10 "\n", 11 "\v",
// 12 "\f", 13 "\r", 27 "\e"; '"', '\'', '?' and '\' get a backslash in front; the rest stays.
std::string CEscape(std::string_view text);

// The trimmed piece between the start marker and the next end marker after it (markers found
// ignoring ASCII case). Empty when the start marker is missing; throws support::Error ("Не удалось
// найти пару идентификаторов ...") when the end marker is. A piece of two or more characters in
// double quotes loses them, and doubled quotes inside become one.
std::string TextBetween(std::string_view text, std::string_view start, std::string_view end);
// As TextBetween, and removes from text everything up to and including the end marker, so that
// repeated calls walk through successive rows. A missing start marker leaves text as it is.
std::string CutTextBetween(std::string& text, std::string_view start, std::string_view end);
// Whether the marker occurs in the text, ignoring ASCII case.
bool HasMarker(std::string_view text, std::string_view marker);

// The rows of a catalogue answer: the texts between "<row>" and "</row>" inside "<result>" ...
// "</result>", in order. Throws support::Error with the text of the first row whose "<error>"
// element is not empty. No "<result>" gives no rows.
std::vector<std::string> ReadAnswerRows(std::string_view answer);
// One element of a row ("<name>" ... "</name>"); a missing element reads as the empty text.
std::string AnswerElement(std::string_view row, std::string_view name);

}  // namespace kelmora::net
