#include "forms/shared/servers.h"

#include "forms/shared/endpoints.h"

namespace forms {

const std::vector<Server>& servers() {
    using namespace endpoints;
    static const std::vector<Server> table{
        {"update", "SrvUpdate", "LblUpdate", "Update", UpdateHost, 80},
        {"login", "SrvLogin", "Lbllogin", "Login", LoginHost, 29000},
        {"charselect", "SrvCharSelect", "LblCharSelect", "Character Select", CharSelectHost, 29100},
        {"ch1", "SrvCh1", "LblCh1", "Channel 1", Ch1Host, 29200},
        {"ch2", "SrvCh2", "LblCh2", "Channel 2", Ch2Host, 29200},
        {"ch3", "SrvCh3", "LblCh3", "Channel 3", Ch3Host, 29200},
    };
    return table;
}

} // namespace forms
