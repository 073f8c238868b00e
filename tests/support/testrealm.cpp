#include "support/testrealm.h"

#include <QDeadlineTimer>
#include <QTest>

#include <stdexcept>

namespace testing_support {

const QStringList& TestRealm::names() {
    static const QStringList n = [] {
        QStringList keys;
        for (const forms::Server& s : forms::servers())
            keys << s.key;
        return keys;
    }();
    return n;
}

TestRealm::TestRealm() {
    realm_ = std::make_unique<realm::Realm>(realm::privateEndpoints(61));
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
    realm_->aim(program);
}

bool waitFor(const std::function<bool()>& pred, int ms) {
    return QTest::qWaitFor(pred, ms);
}

} // namespace testing_support
