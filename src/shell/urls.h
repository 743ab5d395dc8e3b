// The contact box behind the main window's logo: who makes the program and
// where to find it, and the offer to open the maker's or the design program
// family's web site in the user's browser.
//
// The contact data are the program's own: its name and version and the web
// addresses, which are placeholders (reserved example domains) until the
// project has real ones. No postal address, telephone, fax or e-mail is
// shown.
#pragma once

#include <string>

class IBoxes;
class IBusyCursor;
class IUrlOpener;

inline constexpr const char* kMakerName = "Harvenne";
inline constexpr const char* kMakerWebHost = "kalvenor.example.org";
inline constexpr const char* kLumivarWebAddress = "http://lumivar.example.org";
inline constexpr const char* kBrowserFailedMessage = "Sorry: cannot launch your browser at this time.";

// The message of the box, lines separated by CR LF.
std::string ContactBoxText();

// Shows the box (Yes, No, Cancel). Yes opens "http://" & the maker's web
// host, No the design program family's address, both with the hourglass
// showing; a failed launch is reported. Cancel does nothing.
void ShowContactBox(IBoxes& boxes, IUrlOpener& browser, IBusyCursor& cursor);
