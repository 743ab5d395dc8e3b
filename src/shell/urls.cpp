#include "shell/urls.h"

#include "platform/Boxes.h"
#include "platform/BusyCursor.h"
#include "platform/UrlOpener.h"
#include "shell/CSApplication.h"

std::string ContactBoxText() {
    const CSApplication app;
    const std::string nl = "\r\n";
    std::string text;
    text += std::string(kMakerName) + nl;
    text += app.Comment() + nl;
    text += app.Version() + nl + nl;
    text += "net:  \t" + std::string(kMakerWebHost) + nl + nl;
    text += "Lumivar website [for updates etc]" + nl;
    text += "net:  \t" + std::string(kLumivarWebAddress) + nl + nl;
    text += "Click YES to visit the " + std::string(kMakerName) + " website NOW" + nl + nl;
    text += "Click NO to visit the Lumivar website NOW";
    return text;
}

void ShowContactBox(IBoxes& boxes, IUrlOpener& browser, IBusyCursor& cursor) {
    std::string address;
    switch (boxes.show(kBoxQuestionYesNoCancel, ContactBoxText())) {
        case kAnswerYes: address = "http://" + std::string(kMakerWebHost); break;
        case kAnswerNo: address = kLumivarWebAddress; break;
        default: return;
    }
    cursor.showHourglass();
    const bool launched = browser.open(address);
    cursor.showDefault();
    if (!launched) boxes.show(kBoxInformation, kBrowserFailedMessage);
}
