#include "monitor/runonce.h"

#include "monitor/form1.h"

#include <QCoreApplication>

namespace monitor {

int runOnce(const forms::Program& program, const Desktop& desktop, InstanceService& instance,
            const BuildOptions& options, const std::function<void(Form1&)>& started) {
    switch (instance.claim()) {
    case InstanceService::Claim::Asked:
        return 0;
    case InstanceService::Claim::NoAnswer:
        return NoAnswerStatus;
    case InstanceService::Claim::First:
    case InstanceService::Claim::Unchecked:
        break;
    }
    Form1 form(program, desktop, options);
    if (started)
        started(form);
    form.Form_Load();
    form.show();
    // A start made while this one was loading is answered now.
    instance.onComeBack([&form] { form.bringBack(); });
    const int status = QCoreApplication::exec();
    instance.onComeBack({});
    return status;
}

} // namespace monitor
