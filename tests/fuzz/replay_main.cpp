// Replays fuzz inputs without libFuzzer: every file of the directories (or
// the files) given is handed to the target once. Built with the sanitizers
// by the test command, so the committed corpora are checked on every run.
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        QStringList files;
        if (QFileInfo(argv[i]).isDir()) {
            QDirIterator it(argv[i], QDir::Files | QDir::Hidden);
            while (it.hasNext())
                files << it.next();
        } else {
            files << argv[i];
        }
        files.sort();
        for (const QString& name : files) {
            QFile f(name);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
                return 1;
            }
            const QByteArray bytes = f.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   std::size_t(bytes.size()));
            ++count;
        }
    }
    std::printf("%d inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
