#include "pebuilder.h"

#include <QtEndian>

namespace testing_support {
namespace {

void put16(QByteArray& b, qsizetype at, std::uint16_t v) {
    qToLittleEndian<quint16>(v, b.data() + at);
}

} // namespace

void put32(QByteArray& b, qsizetype at, std::uint32_t v) {
    qToLittleEndian<quint32>(v, b.data() + at);
}

BuiltPe buildPe(const std::vector<PeItem>& items, bool pe32plus) {
    // Named items first, as the directory format wants.
    std::vector<const PeItem*> order;
    for (const PeItem& i : items)
        if (i.key.typeId() == QMetaType::QString)
            order.push_back(&i);
    const std::size_t named = order.size();
    for (const PeItem& i : items)
        if (i.key.typeId() != QMetaType::QString)
            order.push_back(&i);
    const qsizetype n = qsizetype(order.size());

    QByteArray r;
    auto grow = [&](qsizetype size) {
        const qsizetype at = r.size();
        r.append(QByteArray(size, '\0'));
        return at;
    };
    const qsizetype root = grow(16 + 8);
    put16(r, root + 14, 1);
    const qsizetype itemsDir = grow(16 + 8 * n);
    put16(r, itemsDir + 12, std::uint16_t(named));
    put16(r, itemsDir + 14, std::uint16_t(qsizetype(order.size()) - qsizetype(named)));
    put32(r, root + 16, 10);
    put32(r, root + 20, 0x80000000u | std::uint32_t(itemsDir));
    std::vector<std::vector<PeLanguage>> languages;
    for (const PeItem* item : order)
        languages.push_back(item->languages.empty() ? std::vector<PeLanguage>{{0x409, item->data}}
                                                    : item->languages);
    std::vector<qsizetype> langs, datas;
    for (const auto& l : languages) {
        langs.push_back(grow(16 + 8 * qsizetype(l.size())));
        put16(r, langs.back() + 14, std::uint16_t(l.size()));
        for (size_t k = 0; k < l.size(); ++k)
            put32(r, langs.back() + 16 + 8 * qsizetype(k), l[k].id);
    }
    for (size_t i = 0; i < languages.size(); ++i)
        for (size_t k = 0; k < languages[i].size(); ++k) {
            datas.push_back(grow(16));
            put32(r, langs[i] + 20 + 8 * qsizetype(k), std::uint32_t(datas.back()));
        }
    for (qsizetype i = 0; i < n; ++i) {
        const PeItem& item = *order[size_t(i)];
        const qsizetype e = itemsDir + 16 + 8 * i;
        if (item.key.typeId() == QMetaType::QString) {
            const QString name = item.key.toString();
            const qsizetype s = grow(2 + 2 * name.size());
            put16(r, s, std::uint16_t(name.size()));
            for (qsizetype c = 0; c < name.size(); ++c)
                put16(r, s + 2 + 2 * c, name[c].unicode());
            put32(r, e, 0x80000000u | std::uint32_t(s));
        } else {
            put32(r, e, item.key.toUInt());
        }
        put32(r, e + 4, 0x80000000u | std::uint32_t(langs[size_t(i)]));
    }
    size_t entry = 0;
    for (const auto& l : languages)
        for (const PeLanguage& language : l) {
            grow((8 - r.size() % 8) % 8);
            const qsizetype d = grow(language.data.size());
            std::copy(language.data.begin(), language.data.end(), r.begin() + d);
            put32(r, datas[entry], 0x1000u + std::uint32_t(d));
            put32(r, datas[entry] + 4, std::uint32_t(language.data.size()));
            ++entry;
        }
    grow((512 - r.size() % 512) % 512);

    BuiltPe pe;
    const qsizetype optionalSize = pe32plus ? 240 : 224;
    const qsizetype headers = 0x200;
    QByteArray f(headers, '\0');
    f[0] = 'M';
    f[1] = 'Z';
    put32(f, 0x3C, 0x40);
    f.replace(0x40, 4, QByteArray("PE\0\0", 4));
    put16(f, 0x44, pe32plus ? 0x8664 : 0x14c);
    put16(f, 0x46, 1);
    put16(f, 0x54, std::uint16_t(optionalSize));
    put16(f, 0x56, 0x2022);
    const qsizetype opt = 0x58;
    put16(f, opt, pe32plus ? 0x20b : 0x10b);
    const qsizetype dirs = opt + (pe32plus ? 112 : 96);
    put32(f, dirs - 4, 16);
    put32(f, dirs + 16, pe.rsrcRva);
    put32(f, dirs + 20, std::uint32_t(r.size()));
    pe.sectionHeader = opt + optionalSize;
    f.replace(pe.sectionHeader, 5, ".rsrc");
    put32(f, pe.sectionHeader + 8, std::uint32_t(r.size()));
    put32(f, pe.sectionHeader + 12, pe.rsrcRva);
    put32(f, pe.sectionHeader + 16, std::uint32_t(r.size()));
    put32(f, pe.sectionHeader + 20, std::uint32_t(headers));
    pe.rsrc = headers;
    pe.rootEntry = headers + root + 16;
    pe.itemEntries = headers + itemsDir + 16;
    pe.dataEntries = datas.empty() ? 0 : headers + datas.front();
    pe.file = f + r;
    return pe;
}

} // namespace testing_support
