// A realm of six servers on free loopback ports, and a program definition
// whose sockets point at it, so tests never depend on the default endpoints.
#pragma once

#include "forms/shared/formdefinition.h"
#include "tools/realm/realm.h"

#include <memory>

namespace testing_support {

class TestRealm {
public:
    // All six servers up, on 127.61.0.1 to 127.61.0.6 with free ports.
    TestRealm();

    realm::Realm& realm() { return *realm_; }
    // Points the six probe sockets of a program at this realm.
    void aim(forms::Program& program) const;
    void set(const QString& name, realm::State state);

    static const QStringList& names(); // table order: update ... ch3

private:
    std::unique_ptr<realm::Realm> realm_;
};

// Waits, running the event loop, until pred() holds or ms pass.
bool waitFor(const std::function<bool()>& pred, int ms = 5000);

} // namespace testing_support
