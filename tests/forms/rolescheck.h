// What both programs' definitions must hold of their roles, links and
// countdown, whatever their layout.
#pragma once

#include "forms/shared/formdefinition.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

inline void expectRolesNameControlsOfTheirKindAndLinksNameButtons(const forms::Program& p) {
    using K = forms::ControlKind;
    const std::vector<std::pair<QString, K>> roles = {
        {p.roles.refresh, K::CommandButton}, {p.roles.search, K::CommandButton},
        {p.roles.searchBox, K::TextBox},     {p.roles.hide, K::Label},
        {p.roles.close, K::Label},           {p.roles.logToggle, K::CommandButton},
        {p.roles.countdown, K::Label},       {p.roles.countdownTimer, K::Timer},
        {p.roles.picture, K::PictureBox}};
    for (const auto& [name, kind] : roles) {
        const forms::Control* c = p.form1.find(name);
        ASSERT_NE(c, nullptr) << qPrintable(name);
        EXPECT_EQ(c->kind, kind) << qPrintable(name);
    }
    EXPECT_EQ(p.form1.find(p.roles.countdownTimer)->interval, 60000);
    EXPECT_EQ(p.countdownTicks, 10);
    EXPECT_EQ(p.form1.find(p.roles.countdown)->text, "10...") << "the whole countdown at first";
    const std::vector<forms::MenuItem>& items = p.form2.menus.at(0).items;
    EXPECT_EQ(items.back().name, p.roles.exitItem);
    EXPECT_EQ(items.at(0).name, p.roles.notifyItem);
    EXPECT_EQ(items.at(1).name, p.roles.startItem);
    EXPECT_TRUE(QString(p.desktopEntry).endsWith(p.name.toLower() + ".desktop"));
    ASSERT_EQ(p.links.size(), 5u);
    for (const forms::Link& link : p.links) {
        const forms::Control* c = p.form1.find(link.control);
        ASSERT_NE(c, nullptr) << qPrintable(link.control);
        EXPECT_EQ(c->kind, K::CommandButton) << qPrintable(link.control);
        EXPECT_TRUE(link.url.startsWith("http://")) << qPrintable(link.url);
    }
}
