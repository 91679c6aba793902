#include "tests/support/TestCatalogue.h"

#include "catalogue/ContainerBuilder.h"
#include "platform/Codec.h"
#include "tests/support/TestCd.h"

#include <QRegularExpression>

namespace testing_support {

void writeCatalogue(const QString& root, const QString& text, const QMap<QString, QString>& descriptions) {
    const QByteArray keyFile = "Toto CD obsahuje programy. Klic je kdesi uprostred tohoto textu.\r\n";
    auto builder = katalog::ContainerBuilder::fromKeyFile(keyFile, 9, 33);
    QString catalogue = text;
    for (auto it = descriptions.begin(); it != descriptions.end(); ++it) {
        const qint32 offset = builder->addDescription(platform::toCp1250(it.value()));
        catalogue.replace(QLatin1Char('{') + it.key() + QLatin1Char('}'), QString::number(offset));
    }
    writeFile(root + QStringLiteral("/CTIMNE.TXT"), keyFile);
    writeFile(root + QStringLiteral("/SYSTEM/MAP.PIC"), builder->build(platform::toCp1250(catalogue)));
}

}  // namespace testing_support
