#include "graphics/platform/posix/userlanguage.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace vell::posix {
namespace {

constexpr std::uint16_t SublangDefault = 1 << 10;

struct Known {
    std::string_view name;
    std::uint16_t id;
};

// ISO 639-1 codes and their primary language numbers.
constexpr Known Languages[] = {
    {"af", 0x36}, {"ar", 0x01}, {"az", 0x2C}, {"be", 0x23}, {"bg", 0x02}, {"bn", 0x45},
    {"bs", 0x1A}, {"ca", 0x03}, {"cs", 0x05}, {"cy", 0x52}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"et", 0x25}, {"eu", 0x2D}, {"fa", 0x29},
    {"fi", 0x0B}, {"fo", 0x38}, {"fr", 0x0C}, {"ga", 0x3C}, {"gl", 0x56}, {"he", 0x0D},
    {"hi", 0x39}, {"hr", 0x1A}, {"hu", 0x0E}, {"hy", 0x2B}, {"id", 0x21}, {"is", 0x0F},
    {"it", 0x10}, {"ja", 0x11}, {"ka", 0x37}, {"kk", 0x3F}, {"ko", 0x12}, {"lt", 0x27},
    {"lv", 0x26}, {"mk", 0x2F}, {"mr", 0x4E}, {"ms", 0x3E}, {"mt", 0x3A}, {"nb", 0x14},
    {"nl", 0x13}, {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18},
    {"ru", 0x19}, {"sk", 0x1B}, {"sl", 0x24}, {"sq", 0x1C}, {"sr", 0x1A}, {"sv", 0x1D},
    {"ta", 0x49}, {"th", 0x1E}, {"tr", 0x1F}, {"uk", 0x22}, {"zh", 0x04},
};

// Language and country pairs whose sublanguage is not the default one.
constexpr Known Countries[] = {
    {"bs_BA", 0x141A}, {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"de_LI", 0x1407}, {"de_LU", 0x1007},
    {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_GB", 0x0809}, {"en_IE", 0x1809}, {"en_IN", 0x4009},
    {"en_NZ", 0x1409}, {"en_SG", 0x4809}, {"en_ZA", 0x1C09}, {"es_AR", 0x2C0A}, {"es_CL", 0x340A},
    {"es_CO", 0x240A}, {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_US", 0x540A}, {"fr_BE", 0x080C},
    {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C}, {"it_CH", 0x0810}, {"nl_BE", 0x0813},
    {"nn_NO", 0x0814}, {"pt_PT", 0x0816}, {"ru_MD", 0x0819}, {"sr_ME", 0x2C1A}, {"sr_RS", 0x241A},
    {"sv_FI", 0x081D}, {"zh_CN", 0x0804}, {"zh_HK", 0x0C04}, {"zh_MO", 0x1404}, {"zh_SG", 0x1004},
    {"zh_TW", 0x0404}, {"ar_EG", 0x0C01}, {"ar_MA", 0x1801},
};

std::uint16_t lookup(auto& table, std::string_view name) {
    const auto it = std::find_if(std::begin(table), std::end(table),
                                 [&](const Known& k) { return k.name == name; });
    return it == std::end(table) ? 0 : it->id;
}

} // namespace

std::uint16_t languageIdOfLocale(const QByteArray& locale) {
    // language[_COUNTRY][.codeset][@modifier]
    QByteArray name = locale;
    for (char end : {'@', '.'})
        if (const qsizetype at = name.indexOf(end); at >= 0)
            name.truncate(at);
    if (name == "C" || name == "POSIX")
        return SublangDefault | 0x09; // the C locale's messages are US English
    const qsizetype bar = name.indexOf('_');
    const QByteArray language = name.left(bar < 0 ? name.size() : bar).toLower();
    const std::uint16_t primary =
        lookup(Languages, std::string_view(language.constData(), size_t(language.size())));
    if (!primary)
        return 0;
    if (bar >= 0) {
        const QByteArray pair = language + '_' + name.mid(bar + 1).toUpper();
        if (const std::uint16_t id =
                lookup(Countries, std::string_view(pair.constData(), size_t(pair.size()))))
            return id;
    }
    return SublangDefault | primary;
}

std::uint16_t userLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return languageIdOfLocale(value);
    }
    return 0;
}

} // namespace vell::posix
