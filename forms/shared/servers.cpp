#include "forms/shared/servers.h"

#include "forms/shared/endpoints.h"

namespace forms {

const std::vector<Server>& servers() {
    using namespace endpoints;
    static const std::vector<Server> table{
        {"update", "SrvUpdate", "LblUpdate", "Update", UpdateHost, 80, "Status of update server", 9,
         "Update server"},
        {"login", "SrvLogin", "Lbllogin", "Login", LoginHost, 29000, "Status of login server", 8,
         "Login server"},
        {"charselect", "SrvCharSelect", "LblCharSelect", "Character Select", CharSelectHost, 29100,
         "Status of character select server", 7, "Character select server"},
        {"ch1", "SrvCh1", "LblCh1", "Channel 1", Ch1Host, 29200, "Status of channel 1", 6,
         "Channel 1"},
        {"ch2", "SrvCh2", "LblCh2", "Channel 2", Ch2Host, 29200, "Status of channel 2", 5,
         "Channel 2"},
        {"ch3", "SrvCh3", "LblCh3", "Channel 3", Ch3Host, 29200, "Status of channel 3", 4,
         "Channel 3"},
    };
    return table;
}

} // namespace forms
