#include <QtTest>

#include "readerconfig/configfile.h"
#include "readerconfig/treeeditors.h"
#include "treerows.h"

class TstConfigFileLines : public QObject
{
    Q_OBJECT

private slots:
    // Lines written with different encodings, loaded after a complete read over the same values:
    // each decodes alone, so none changes and nothing is marked to be sent.
    void eachLineDecodedAlone()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        const struct
        {
            const char* id;
            QByteArray line;
            QString value;
        } rows[] = {{"3.0.1", "\xEF\xBB\xBF" + QString("3.0.1=Gare de Sète").toUtf8(), "Gare de Sète"},
                    {"3.0.3", QString("3.0.3=Borne Élysée").toLatin1(), "Borne Élysée"},
                    {"3.0.0", QString("3.0.0=Zoé").toUtf8(), "Zoé"}};
        ParameterTreeBench b(true);
        QByteArray content;
        for (const auto& r : rows) {
            TreeItemValue(false, &b.tree, RowById(&b.tree, r.id), r.value, PARAM_COL_WIDGET,
                          PARAM_COL_VALEUR);
            content += r.line + "\r\n";
        }
        b.params.TreeLoading = false;
        ConfigFileApply(&b.tree, content);
        for (const auto& r : rows) {
            const QTreeWidgetItem* row = RowById(&b.tree, r.id);
            QCOMPARE(row->text(PARAM_COL_VALEUR) + ' ' + row->text(PARAM_COL_MODIFIE), r.value + " 0");
        }
    }
};

QTEST_MAIN(TstConfigFileLines)
#include "tst_configfilelines.moc"
