#include "testrealm.h"

#include <QDeadlineTimer>
#include <QTest>

#include <stdexcept>

namespace testing_support {

const QStringList& TestRealm::names() {
    static const QStringList n{"update", "login", "charselect", "ch1", "ch2", "ch3"};
    return n;
}

TestRealm::TestRealm() {
    std::vector<realm::Endpoint> endpoints;
    for (int i = 0; i < names().size(); ++i)
        endpoints.push_back({names()[i], QHostAddress(QString("127.61.0.%1").arg(i + 1)), 0});
    realm_ = std::make_unique<realm::Realm>(endpoints);
    QString error;
    if (!realm_->setAll(realm::State::Up, &error))
        throw std::runtime_error(error.toStdString());
}

void TestRealm::set(const QString& name, realm::State state) {
    QString error;
    if (!realm_->setState(name, state, &error))
        throw std::runtime_error(error.toStdString());
}

void TestRealm::aim(forms::Program& program) const {
    for (size_t row = 0; row < program.probes.size(); ++row) {
        const realm::Endpoint& e = realm_->endpoints().at(row);
        for (forms::Control& c : program.form1.controls)
            if (c.name == program.probes[row].socket) {
                c.remoteHost = e.address.toString();
                c.remotePort = e.port;
            }
    }
}

bool waitFor(const std::function<bool()>& pred, int ms) {
    return QTest::qWaitFor(pred, ms);
}

} // namespace testing_support
