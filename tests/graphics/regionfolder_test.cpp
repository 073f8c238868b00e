// Saving a region where the folder takes no new file: a file already there
// that may be written is rewritten in place; anything else is refused as
// before, and the old data kept.
#include "graphics/dibsectionregion.h"
#include "support/errors.h"
#include "support/fakegdi.h"
#include "support/words.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using testing_support::errorNumber;

namespace {

// While it lives, this thread keeps to file modes as any user does: root's
// (and a namespace's root's) permission override is off.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutPermissionOverride() {
        if (lowered_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(RegionFolder, AWritableFileInAFolderThatTakesNoNewFileIsRewrittenInPlace) {
    testing_support::FakeGdi gdi;
    QImage img(12, 8, QImage::Format_RGB32);
    img.fill(Qt::black);
    for (int y = 3; y < 8; ++y)
        for (int x = 2; x < 12; ++x)
            img.setPixel(x, y, qRgb(1, 2, 3));
    vell::StdPicture picture(img, gdi);
    vell::cDIBSection dib(gdi);
    dib.CreateFromPicture(picture);
    vell::cDIBSectionRegion region(gdi);
    region.Create(dib, 0);
    const QByteArray rect = testing_support::words32({32, 1, 1, 16, 2, 3, 12, 8, 2, 3, 12, 8});

    QTemporaryDir dir;
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString file = folder + "/r.rgn", readOnly = folder + "/kept.rgn";
    for (const QString& path : {file, readOnly}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1000, 'x')); // longer than what replaces it
    }
    QFile::setPermissions(readOnly, QFile::ReadOwner);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    {
        const WithoutPermissionOverride asAnyUser;
        if (QFile probe(folder + "/probe"); probe.open(QIODevice::WriteOnly))
            GTEST_SKIP() << "the folder takes new files whatever its mode here";

        EXPECT_TRUE(region.Save(file));
        EXPECT_EQ(readFile(file), rect) << "exactly the new data, the old tail cut off";
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2)
            << "nothing made beside it";

        EXPECT_EQ(errorNumber([&] { region.Save(folder + "/new.rgn"); }), 75)
            << "no file there to write: the folder's refusal stands";
        EXPECT_FALSE(QFile::exists(folder + "/new.rgn"));
        EXPECT_EQ(errorNumber([&] { region.Save(readOnly); }), 75);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(readFile(readOnly), QByteArray(1000, 'x')) << "a refused save keeps the old data";
}

} // namespace
