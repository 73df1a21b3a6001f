#include "parametercatalogue.h"

namespace {
using P = ReaderParameter;

QVector<ReaderParameter> build()
{
    QVector<ReaderParameter> list;
    auto add = [&list](const QString& id, P::Kind kind, const QString& value, int choices = 0) {
        list.append({id, kind, value, choices});
    };
    add("3.0.0", P::Number, "1");
    add("3.0.1", P::Text, "A DEFINIR");
    add("3.0.2", P::Number, "1001");
    add("3.0.3", P::Text, "KorvelReader");
    add("3.0.4", P::Number, "3");
    add("3.0.5", P::Number, "0");
    for (int i = 0; i <= 9; ++i)
        add(QString("3.4.%1").arg(i), P::CheckBox, (i == 3 || i == 9) ? "1" : "0");
    add("10.1", P::Number, "5000");
    add("10.2", P::CheckBox, "1");
    add("10.3", P::Text, "0");
    add("3.8.0", P::Number, "16");
    add("3.8.1", P::Number, "1");
    add("3.8.2", P::Number, "250");
    add("3.8.3", P::Number, "1");
    add("3.8.4", P::Number, "2");
    add("3.8.5", P::Number, "5");
    add("3.7.2", P::CheckBox, "0");
    add("3.7.3", P::CheckBox, "0");
    add("3.7.4", P::CheckBox, "1");
    add("3.7.5", P::Text, "0");
    add("2.1.0.3.0", P::Number, "100");
    add("2.1.0.3.2", P::Number, "100");
    add("2.1.0.3.3", P::Number, "50");
    add("3.7.9", P::CheckBox, "0");
    add("3.7.0", P::CheckBox, "0");
    add("2.1.0.0", P::CheckBox, "1");
    add("2.0.10", P::List, "0", 2);
    add("2.0.13", P::CheckBox, "0");
    add("2.0.11", P::List, "1", 4);
    add("3.7.7", P::CheckBox, "0");
    add("2.1.0.7", P::Number, "1");
    add("2.1.0.4.0", P::Number, "600");
    add("2.1.0.3.1", P::Number, "100");
    add("2.1.0.4.1", P::Number, "600");
    add("2.1.1.0", P::CheckBox, "0");
    add("2.1.1.7", P::Number, "2");
    add("2.1.1.3.0", P::Number, "100");
    add("2.1.1.4.0", P::Number, "600");
    add("2.1.1.3.1", P::Number, "100");
    add("2.1.1.4.1", P::Number, "600");
    add("6.0.0", P::Number, "50");
    add("6.0.1", P::Number, "50");
    add("6.0.2", P::Number, "0");
    for (int k = 0; k < 8; ++k) {
        const QString base = QString("6.1.%1.").arg(k);
        add(base + "0", P::Number, "100");
        add(base + "1.2", P::CheckBox, "1");
        add(base + "1.0", P::CheckBox, "1");
        add(base + "1.1", P::CheckBox, "0");
        add(base + "2", P::CheckBox, "0");
    }
    for (int k = 0; k < 8; ++k) {
        const QString base = QString("7.1.%1.").arg(k);
        add(base + "0", P::Number, QString::number(k < 4 ? 50 * (k + 1) : 100));
        // The program's list for channel 2 has a fourth, empty choice.
        add(base + "1", P::List, "0", k == 1 ? 4 : 3);
    }
    add("7.0.0", P::Number, "3");
    add("7.0.1", P::Number, "12");
    add("7.0.2", P::CheckBox, "1");
    for (int j = 0; j < 3; ++j) {
        const QString base = QString("9.%1.").arg(j);
        add(base + "0", P::CheckBox, j == 0 ? "1" : "0");
        add(base + "2", P::List, "0", 2);
        add(base + "3", P::Number, QString::number(j + 1));
        add(base + "4", P::Text, QString("RETOUR %1").arg(j + 1));
    }
    add("13.1.4", P::Text, "192.168.1.50");
    add("13.2.4", P::Text, "255.255.255.0");
    add("13.3.4", P::Text, "192.168.1.1");
    add("13.4.4", P::Text, "192.168.1.1");
    add("13.5.4", P::Text, "0.0.0.0");
    add("13.6", P::Number, "80");
    add("3.9.0.0", P::Text, "0.0.0.0");
    add("3.9.0.1", P::Text, "/historique");
    add("3.9.0.2", P::Number, "8080");
    add("3.9.1.0", P::Text, "0.0.0.0");
    add("3.9.1.1", P::Text, "/qmls");
    add("3.9.1.2", P::Number, "8081");
    add("12.0", P::ReadOnly, "12.4.2");
    add("12.1", P::ReadOnly, "12.B");
    add("12.2", P::ReadOnly, "12.7");
    // 12.3 and 12.4 (time and date) are answered from the clock.
    return list;
}
} // namespace

const QVector<ReaderParameter>& ParameterCatalogue::defaults()
{
    static const QVector<ReaderParameter> list = build();
    return list;
}

QString ParameterCatalogue::objectOf(const QString& id)
{
    return id.section('.', 0, 0);
}
