#include "about/ONasUnit1.h"

#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "platform/ProfileFile.h"
#include "platform/ShellOpen.h"
#include "settings/NastaveniUnit1.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

using testing_support::writeFile;

class ONasTest : public testing_support::TestCd {
protected:
    void page(const char* lang, const char* file, const char* text) {
        writeFile(cdFile(QStringLiteral("SYSTEM/ONas/%1/%2").arg(lang, file)),
                  QByteArray("{\\rtf1\\ansi ") + text + "}");
    }
    void start(QSize screen = {1024, 768}) {
        if (!skins_)
            installSkins();
        skins_ = true;
        katalog::TMain::setScreenSizeForTests(screen);
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        form = main->forms().ONas;
        ASSERT_TRUE(form);
    }
    QString shown() const { return form->TextClanku->toPlainText(); }
    std::vector<QString> disabledPages() const {
        std::vector<QString> d;
        for (auto* b : {form->OProg, form->VolneSiritSoft, form->Zaruka, form->Autor, form->WWW})
            if (b->disabled())
                d.push_back(b->objectName());
        return d;
    }

    std::unique_ptr<katalog::TMain> main;
    katalog::TONas* form = nullptr;

private:
    bool skins_ = false;
};

TEST_F(ONasTest, StartsOnTheProgramPage) {
    page("Cz", "oprog.rtf", "O programu");
    start();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(form->CurrentPage(), form->OProg);
    EXPECT_EQ(disabledPages(), std::vector<QString>{"OProg"});
    EXPECT_EQ(shown(), "O programu");
    EXPECT_EQ(form->TextClanku->geometry(), QRect(153, 94, 235, 324));
    EXPECT_TRUE(form->TextClanku->isReadOnly());
    EXPECT_EQ(form->TextClanku->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form->TextClanku->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // The cover fills its box whatever its own size.
    EXPECT_EQ(form->Titulka->geometry(), QRect(416, 94, 228, 324));
    EXPECT_TRUE(form->Titulka->hasScaledContents());
    EXPECT_FALSE(form->Titulka->pixmap().isNull());
    EXPECT_EQ(form->WWWList.count(), 3);
}

TEST_F(ONasTest, PagesChangeTextWidthAndTheCurrentButton) {
    page("Cz", "oprog.rtf", "oprog");
    page("Cz", "autor.rtf", "autor");
    page("Cz", "volsirsw.rtf", "volne");
    page("Cz", "zaruka.rtf", "zaruka");
    struct Step {
        const char* button;
        const char* text;
        int large, small;
    };
    const Step steps[] = {
        {"Autor", "autor", 490, 430},
        {"OProg", "oprog", 235, 206},
        {"VolneSiritSoft", "volne", 490, 430},
        {"Zaruka", "zaruka", 490, 430},
    };
    for (const bool large : {true, false}) {
        start(large ? QSize(1024, 768) : QSize(800, 600));
        const QRect initial = form->TextClanku->geometry();
        EXPECT_EQ(initial, large ? QRect(153, 94, 235, 324) : QRect(133, 83, 206, 282));
        for (const Step& s : steps) {
            form->findChild<katalog::TEzRgnBtn*>(s.button)->Click();
            EXPECT_EQ(disabledPages(), std::vector<QString>{s.button});
            EXPECT_EQ(shown(), s.text);
            EXPECT_EQ(form->TextClanku->geometry(),
                      QRect(initial.topLeft(), QSize(large ? s.large : s.small, initial.height())));
            // Nothing of the cover shows beside a wide page, not even a column of pixels.
            const bool wide = std::string(s.button) != "OProg";
            EXPECT_EQ(form->Titulka->isHidden(), wide) << s.button;
            if (!form->Titulka->isHidden()) {
                EXPECT_FALSE(form->TextClanku->geometry().intersects(form->Titulka->geometry()));
            }
        }
        main.reset();
    }
}

TEST_F(ONasTest, EveryPageIsShownFromItsBeginning) {
    QByteArray longText;
    for (int i = 0; i < 80; ++i)
        longText += "radek " + QByteArray::number(i) + "\\par ";
    page("Cz", "oprog.rtf", longText.constData());
    page("Cz", "autor.rtf", longText.constData());
    start();
    form->show();
    QScrollBar* bar = form->TextClanku->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(form->TextClanku->textCursor().position(), 0);
    bar->setValue(bar->maximum());
    form->Autor->Click();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(form->TextClanku->textCursor().position(), 0);
}

TEST_F(ONasTest, SlovakPagesComeFromTheirOwnFolderAndAMissingOneKeepsTheText) {
    platform::ProfileFile(windowsDir() + "kat.INI").writeString("Options", "Sk", "1");
    page("Cz", "oprog.rtf", "cesky");
    page("Cz", "autor.rtf", "cesky autor");
    page("Sk", "oprog.rtf", "slovensky");
    start();
    ASSERT_TRUE(katalog::shell().SlovakLang);
    EXPECT_EQ(shown(), "slovensky");
    form->AutorClick();  // no Slovak page: no Czech one either
    EXPECT_EQ(form->CurrentPage(), form->Autor);
    EXPECT_EQ(disabledPages(), std::vector<QString>{"Autor"});
    EXPECT_EQ(shown(), "slovensky");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ONasTest, AMissingFirstPageLeavesTheViewerEmpty) {
    page("Cz", "zaruka.rtf", "zaruka");
    start();
    EXPECT_EQ(shown(), "");
    form->ZarukaClick();
    EXPECT_EQ(shown(), "zaruka");
    form->OProgClick();
    EXPECT_EQ(shown(), "zaruka");
    EXPECT_EQ(form->CurrentPage(), form->OProg);
}

TEST_F(ONasTest, WWWOpensThePublishersSiteAndIsNeverDisabled) {
    std::vector<platform::Launch> launches;
    start();
    platform::setLaunchHook([&](const platform::Launch& l) { launches.push_back(l); });
    form->WWWClick();
    form->AutorClick();
    form->WWW->Click();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].kind, platform::Launch::Kind::Url);
    EXPECT_EQ(launches[0].program, katalog::PublisherAddress);
    EXPECT_TRUE(platform::isAllowedAddress(katalog::PublisherAddress));
    EXPECT_FALSE(form->WWW->disabled());
}

TEST_F(ONasTest, TheUsersFontIsTheDefaultOfThePagesOwnFontsStay) {
    writeFile(cdFile("SYSTEM/ONas/Cz/oprog.rtf"),
              R"({\rtf1\deff0{\fonttbl{\f0 Arial;}{\f1 Courier New;}}\f0 plain \f1 mono})");
    writeFile(cdFile("SYSTEM/ONas/Cz/autor.rtf"), R"({\rtf1 autor})");
    start();
    QFont user(QStringLiteral("DejaVu Serif"), 15);
    main->forms().NastaveniForm->SetFont(user, Qt::darkGreen);
    const QTextDocument* doc = form->TextClanku->document();
    EXPECT_EQ(doc->defaultFont().family(), "DejaVu Serif");
    EXPECT_EQ(doc->defaultFont().pointSize(), 15);
    const QTextFragment first = doc->begin().begin().fragment();
    ASSERT_TRUE(first.text().startsWith("plain"));
    EXPECT_FALSE(first.charFormat().hasProperty(QTextFormat::FontFamilies));
    const QTextFragment second = (++doc->begin().begin()).fragment();
    EXPECT_EQ(second.text(), "mono");
    EXPECT_EQ(second.charFormat().fontFamilies().toStringList(), QStringList{"Courier New"});
    // A page loaded later gets the same default.
    form->AutorClick();
    ASSERT_EQ(form->TextClanku->toPlainText(), "autor");
    EXPECT_EQ(form->TextClanku->document()->defaultFont().family(), "DejaVu Serif");
    EXPECT_EQ(form->TextClanku->document()->defaultFont().pointSize(), 15);
}
