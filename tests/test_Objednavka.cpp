#include "orders/ObjednavkaClassUnit1.h"

#include "platform/Codec.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

#include <climits>

using katalog::OrderDocumentInputs;
using katalog::TObjednavkaClass;

namespace {

const QString Rule(70, QLatin1Char('_'));

QHash<QString, QString> publisherDetails() {
    return {{"ico", "87654321"},         {"dic", "CZ87654321"},
            {"Firma", "Vydavatel a.s."}, {"jmeno", "Petr Malý"},
            {"ulice", "Krátká 2"},       {"PSC", "602 00"},
            {"mesto", "Brno"},           {"telef", "541 000 000"},
            {"fax", "541 000 001"},      {"mail", "info@vydavatel.example.com"},
            {"postovne", "50"}};
}

OrderDocumentInputs inputs(QHash<QString, QString> publisher, QStringList titles) {
    OrderDocumentInputs in;
    in.publisher = [publisher](const QString& key) { return publisher.value(key); };
    in.titleName = [titles](int position) { return titles.value(position); };
    return in;
}

OrderDocumentInputs emptyCustomer(QStringList titles = {}) {
    return inputs(publisherDetails(), std::move(titles));
}

// The document as lines of text, CR LF removed; fails when a line end is not CR LF.
QStringList linesOf(const QByteArray& doc) {
    EXPECT_TRUE(doc.endsWith("\r\n"));
    QStringList lines = platform::fromCp1250(doc).split(QStringLiteral("\r\n"));
    lines.removeLast();
    for (const QString& l : lines)
        EXPECT_FALSE(l.contains(QLatin1Char('\n')) || l.contains(QLatin1Char('\r')))
            << l.toStdString();
    return lines;
}

QByteArray documentOf(const QStringList& lines) {
    QByteArray doc;
    for (const QString& l : lines)
        doc += platform::toCp1250(l) + "\r\n";
    return doc;
}

}  // namespace

TEST(OrderModel, NewItemsComeFirstAndRemoveTakesTheFirstMatch) {
    TObjednavkaClass order;
    EXPECT_TRUE(order.IsEmpty());
    order.AddItem(4, 1, 100);
    order.AddItem(7, 2, 200);
    auto& added = order.AddItem(2, 3, 300);
    EXPECT_EQ(added.position, 2);
    ASSERT_EQ(order.items().size(), 3u);
    EXPECT_EQ(order.items().front().position, 2);
    EXPECT_EQ(order.items().back().position, 4);

    order.RemoveItem(99);  // absent: nothing happens
    EXPECT_EQ(order.items().size(), 3u);
    order.RemoveItem(7);
    ASSERT_EQ(order.items().size(), 2u);
    EXPECT_EQ(order.items().front().position, 2);
    EXPECT_EQ(order.items().back().position, 4);
    EXPECT_EQ(order.FindItem(7), nullptr);

    // A second item for one position is accepted; removal takes the newer one first.
    order.AddItem(4, 9, 100);
    order.RemoveItem(4);
    ASSERT_NE(order.FindItem(4), nullptr);
    EXPECT_EQ(order.FindItem(4)->quantity, 1);
    order.RemoveItem(4);
    order.RemoveItem(2);
    EXPECT_TRUE(order.IsEmpty());
}

TEST(OrderModel, TheFoundItemIsTheStoredOne) {
    TObjednavkaClass order;
    order.AddItem(1, 1, 199);
    order.AddItem(2, 1, 250);
    order.FindItem(1)->quantity = 5;
    EXPECT_EQ(order.FindItem(1)->quantity, 5);
    EXPECT_EQ(order.FindItem(1)->price, 199);
    EXPECT_EQ(order.FindItem(2)->quantity, 1);
    EXPECT_EQ(order.FindItem(3), nullptr);
}

TEST(OrderDocument, AFullOrderByteForByte) {
    TObjednavkaClass order;
    OrderDocumentInputs in = inputs(publisherDetails(), {"Titul A", "Titul B"});
    in.ico = "123456789012";
    in.dic = "CZ123456789";
    in.firma = "Zákazník s.r.o.";
    in.jmeno = "Jan Novák";
    in.adresa = "Dlouhá 1";
    in.psc = "12 3 ";
    in.mesto = "Praha";
    in.telefon = "123 456";
    in.fax = "";
    in.email = "jan.novak@nejaka-dlouha-domena.example.com";
    // Ticked A, then B.
    order.AddItem(0, 3, 199);
    order.AddItem(1, 1, 250);

    QStringList expected = {
        "OBJEDNÁVKA",
        Rule,
        "IČO:123456789012                            IČO:87654321",
        "DIČ:CZ123456789                             DIČ:CZ87654321",
        "Zákazník s.r.o.                             Vydavatel a.s.",
        "Jan Novák                                   Petr Malý",
        "Dlouhá 1                                    Krátká 2",
        "12 3  Praha                                 602 00 Brno",
        "telefon:123 456                             541 000 000",
        "fax:                                        541 000 001",
        "e-mail:jan.novak@nejaka-dlouha-domena.example.cominfo@vydavatel.example.com",
        Rule,
        "",
        "                               cena za kus  počet kusů     cena celkem",
        Rule,
        "Titul B                              250           1              250",
        "Titul A                              199           3              597",
        "Poštovné                                                           50",
        "                                                            ----------",
        "                                                               897.00",
    };
    for (int i = 0; i < 31; ++i)
        expected << "";
    expected << "                                                 Razítko a podpis"
             << "" << Rule << "   Ceny jsou včetně 5% DPH";
    ASSERT_EQ(expected.size(), 55);

    const QByteArray doc = order.Document(in);
    EXPECT_EQ(linesOf(doc), expected);
    EXPECT_EQ(doc, documentOf(expected));
    // Windows-1250, one byte a character.
    EXPECT_TRUE(doc.startsWith("OBJEDN\xC1VKA\r\n"));
    // Writing does not change the order.
    EXPECT_EQ(order.Document(in), doc);
}

TEST(OrderDocument, OneTitleAtThreePiecesWithPostage) {
    TObjednavkaClass order;
    order.AddItem(0, 3, 199);
    const QStringList lines = linesOf(order.Document(emptyCustomer({"Titul"})));
    ASSERT_EQ(lines.size(), 55);
    EXPECT_EQ(lines[15], "Titul                                199           3              597");
    EXPECT_EQ(lines[18], QString(63, ' ') + "647.00");
    EXPECT_EQ(lines[18].size(), 69);
    EXPECT_EQ(lines[51], QString(49, ' ') + "Razítko a podpis");
}

TEST(OrderDocument, EmptyCustomerFieldsKeepLabelsAndPrefixes) {
    TObjednavkaClass order;
    QHash<QString, QString> publisher;  // nothing in [adresa] either
    const QStringList lines = linesOf(order.Document(inputs(publisher, {})));
    ASSERT_EQ(lines.size(), 55);
    const QString gap(40, ' ');
    EXPECT_EQ(lines[2], "IČO:" + gap + "IČO:");
    EXPECT_EQ(lines[3], "DIČ:" + gap + "DIČ:");
    EXPECT_EQ(lines[4], QString(44, ' '));
    EXPECT_EQ(lines[7], QString(45, ' '));  // " " between the empty postal code and town
    EXPECT_EQ(lines[8], "telefon:" + QString(36, ' '));
    EXPECT_EQ(lines[9], "fax:" + QString(40, ' '));
    EXPECT_EQ(lines[10], "e-mail:" + QString(37, ' '));
    // No items: the postage line, and a total of nothing.
    EXPECT_EQ(lines[15], "Poštovné" + QString(8 + 52, ' ') + "0");
    EXPECT_EQ(lines[16], QString(60, ' ') + "----------");
    EXPECT_EQ(lines[17], QString(65, ' ') + "0.00");
    EXPECT_EQ(lines[51], QString(49, ' ') + "Razítko a podpis");
}

TEST(OrderDocument, TheStampLineFollowsTheTotalBeyond33Items) {
    struct Case {
        int items;
        int lines;
        int stampLine;  // from 1
    };
    for (const Case c : {Case{0, 55, 52}, Case{1, 55, 52}, Case{32, 55, 52}, Case{33, 55, 52},
                         Case{34, 56, 53}, Case{40, 62, 59}}) {
        TObjednavkaClass order;
        QStringList titles;
        for (int i = 0; i < c.items; ++i) {
            order.AddItem(i, 1, 10);
            titles << QStringLiteral("T%1").arg(i);
        }
        const QStringList lines = linesOf(order.Document(emptyCustomer(titles)));
        SCOPED_TRACE(c.items);
        ASSERT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines[c.stampLine - 1].trimmed(), "Razítko a podpis");
        EXPECT_EQ(lines[17 + c.items].trimmed(), QStringLiteral("%1.00").arg(c.items * 10 + 50));
        if (c.items >= 33) {
            EXPECT_EQ(c.stampLine, 18 + c.items + 1);
        }
        EXPECT_EQ(lines.last(), "   Ceny jsou včetně 5% DPH");
        // Newest first.
        if (c.items > 0) {
            EXPECT_TRUE(lines[15].startsWith(QStringLiteral("T%1 ").arg(c.items - 1)));
        }
    }
}

TEST(OrderDocument, AddressLineColumns) {
    struct Case {
        QString label, customer, publisher, expected;
    };
    const Case cases[] = {
        {"IČO:", "123456789012", "1", "IČO:123456789012" + QString(28, ' ') + "IČO:1"},
        {"", QString(44, 'x'), "P", QString(44, 'x') + "P"},
        {"", QString(43, 'x'), "P", QString(43, 'x') + " P"},
        // Longer than the column: the publisher moves right by the excess.
        {"", QString(47, 'x'), "P", QString(47, 'x') + "P"},
        {"", "", "", QString(44, ' ')},
        // A character the code page lacks is one "?" and one column.
        {"", "Жук", "P", "???" + QString(41, ' ') + "P"},
        {"", QString::fromUtf8("a😀b"), "P", "a?b" + QString(41, ' ') + "P"},
    };
    for (const Case& c : cases) {
        const QByteArray line = katalog::MakePrintLine(c.label, c.customer, c.publisher);
        EXPECT_EQ(platform::fromCp1250(line), c.expected) << c.customer.toStdString();
    }
}

TEST(OrderDocument, ItemColumnsWidenForLongValues) {
    TObjednavkaClass order;
    const QString longName = "Velmi dlouhý název titulu, delší než 36 znaků";
    order.AddItem(1, 12, 12345);
    order.AddItem(0, 1, 5);
    order.AddItem(7, 2, 3);  // a row the list does not have: no name
    const QStringList lines = linesOf(order.Document(emptyCustomer({"Krátký", longName})));
    EXPECT_EQ(lines[15], QString(36, ' ') + "   3           2                6");
    EXPECT_EQ(lines[16], "Krátký" + QString(30, ' ') + "   5           1                5");
    EXPECT_EQ(lines[17], longName + "12345          12           148140");
}

TEST(OrderDocument, LargeTotalsDoNotOverflow) {
    TObjednavkaClass order;
    order.AddItem(0, 100000, 50000);  // 5e9: beyond 32 bits
    OrderDocumentInputs in = emptyCustomer({"A", "B", "C", "D"});
    QStringList lines = linesOf(order.Document(in));
    EXPECT_EQ(lines[15], "A" + QString(35, ' ') + "50000      100000       5000000000");
    EXPECT_EQ(lines[18].trimmed(), "5000000050.00");

    // Three lines of the largest product pass even 64 bits.
    TObjednavkaClass huge;
    for (int i = 1; i <= 3; ++i)
        huge.AddItem(i, INT_MAX, INT_MAX);
    lines = linesOf(huge.Document(in));
    EXPECT_EQ(lines[15], "D" + QString(35, ' ') + "2147483647  2147483647" + "4611686014132420609");
    EXPECT_EQ(lines[20], QString(69 - 23, ' ') + "13835058042397261877.00");
}

TEST(OrderDocument, PostageThatIsNotAWholeNumberCountsAsNothingAndReadsSo) {
    struct Case {
        QString postovne;
        QString shown;
        QString total;
    };
    for (const Case& c :
         {Case{"50", "50", "249.00"}, Case{"", "0", "199.00"}, Case{"abc", "0", "199.00"},
          Case{"12.5", "0", "199.00"}, Case{"-9", "-9", "190.00"}, Case{"0x10", "16", "215.00"},
          Case{"99999999999", "0", "199.00"}}) {
        TObjednavkaClass order;
        order.AddItem(0, 1, 199);
        auto publisher = publisherDetails();
        publisher["postovne"] = c.postovne;
        const QStringList lines = linesOf(order.Document(inputs(publisher, {"A"})));
        SCOPED_TRACE(c.postovne.toStdString());
        ASSERT_EQ(lines.size(), 55);
        // The postage line shows what the total counts, as the other amounts are written.
        EXPECT_EQ(lines[16], "Poštovné        " + c.shown.rightJustified(53, ' '));
        EXPECT_EQ(lines[18], c.total.rightJustified(69, ' '));
    }
}
