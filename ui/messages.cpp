#include "ui/messages.h"

#include "ui/layout.h"

std::string AboutText() {
    return std::string("This Utility is to Enable/Disable some very unique features of Windows Vista\r\n"
                       "on Machines with lower Configuration that are by deafult Turned Off on\r\n"
                       "lower spec. machines.\r\n"
                       "\r\n"
                       "Developed By  :: Zedrik\r\n"
                       "\r\n"
                       "Website :: ") +
           kWebAddress;
}

std::string WebPageCommandLine() { return std::string("explorer ") + kWebAddress; }
