#include <QtTest>

#include "commun/fileini.h"
#include "filesizelimit.h"
#include "testfiles.h"

namespace {

// Saves the store and reads it back, as the next session would.
QStringList reloaded(CFILE_INI& ini)
{
    return ini.Close() && ini.Open() ? ini.lines : QStringList{QStringLiteral("<reload failed>")};
}

} // namespace

class TstFileIni : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("config.ini"));
        QFile::remove(path);
    }

    void loadsTrimmedLinesAndSavesThemBack()
    {
        // Lines are read whole however long: a split line came back as two on the next save.
        const QString longLine = QStringLiteral("GROUP=") + QString(5000, QLatin1Char('z'));
        QVERIFY(FileWrite(path, "  [ZONES]  \r\nZONE=1;x\t\n\n# comment = kept\n" + longLine.toLatin1() +
                                    "\n[GROUPS]"));
        CFILE_INI ini(path);
        QVERIFY(ini.Open());
        const QStringList lines{"[ZONES]", "ZONE=1;x", "", "# comment = kept", longLine, "[GROUPS]"};
        QCOMPARE(ini.lines, lines);
        QVERIFY(ini.Close());
        QCOMPARE(FileBytes(path),
                 "[ZONES]\nZONE=1;x\n\n# comment = kept\n" + longLine.toLatin1() + "\n[GROUPS]\n");

        // A shorter list leaves no tail of the old file; the list is kept after Close().
        QVERIFY(ini.Open());
        ini.lines = QStringList{"[A]"};
        QVERIFY(ini.Close());
        QCOMPARE(FileBytes(path), QByteArray("[A]\n"));
        QCOMPARE(ini.lines, QStringList{"[A]"});
        // A closed store neither saves nor loads.
        QVERIFY(!ini.Save());
        QVERIFY(!ini.Load());
        QVERIFY(ini.lines.isEmpty());

        // Found by fuzzing: a CR inside the first line was lost on loading, inside the others kept.
        QVERIFY(FileWrite(path, "[A]\r B\nK=a\r b\r\n"));
        QVERIFY(ini.Open());
        QCOMPARE(ini.lines, (QStringList{"[A]\r B", "K=a\r b"}));
        QCOMPARE(reloaded(ini), (QStringList{"[A]\r B", "K=a\r b"}));
    }

    void openCreatesMissingFileAndFailsWhenImpossible()
    {
        CFILE_INI ini;
        ini.setFileName(path);
        QVERIFY(ini.Open());
        QVERIFY(QFile::exists(path));
        QVERIFY(ini.lines.isEmpty());
        QVERIFY(ini.IsOpened());
        // The OS handle is released between Open() and Close(), so the file can be replaced meanwhile.
        QVERIFY(!ini.isOpen());
        QVERIFY(ini.Close());
        QVERIFY(!ini.IsOpened());

        CFILE_INI unreachable(dir.filePath(QStringLiteral("missing/folder/config.ini")));
        unreachable.lines = QStringList{"stale"};
        QVERIFY(!unreachable.Open());
        QVERIFY(unreachable.lines.isEmpty());
        // Nothing is written for a store that never opened.
        QVERIFY(unreachable.Close());
        QVERIFY(!QFile::exists(unreachable.fileName()));
    }

    void lookups()
    {
        CFILE_INI ini(path);
        ini.lines = QStringList{"[ZONES] old", "#ZONE=5",  "=5",       "",        "ZONE=a=b",
                                "ZONE=2",      "[]",       "[GROUPS]", "[OTHER]", "LATE=3",
                                "K=1",         "[GROUPS]", "G=2",      "[ZONES]", "ZONE=9"};
        QCOMPARE(CFILE_INI::LineValue("novalue"), QString());

        bool found = false;
        // A header with text after its "]" still names the section; comments and "=5" are skipped.
        QCOMPARE(ini.KeyLineFirst(&found, "ZONES", 0), QStringLiteral("ZONE=a=b"));
        QVERIFY(found);
        QCOMPARE(ini.KeyLineNext(&found), QStringLiteral("ZONE=2"));
        // "[]" is not a section line, so the walk runs on to "[GROUPS]" and stops there.
        ini.KeyLineNext(&found);
        QVERIFY(!found);
        // An empty first [GROUPS] directly followed by [OTHER]; the second occurrence holds a key.
        ini.KeyLineFirst(&found, "GROUPS", 1);
        QVERIFY(!found);
        QCOMPARE(ini.KeyLineFirst(&found, "GROUPS", 2), QStringLiteral("G=2"));

        QCOMPARE(ini.ValueGet(&found, "ZONES", "ZONE", 1, "d"), QStringLiteral("a=b"));
        QCOMPARE(ini.ValueGet(&found, "ZONES", "ZONE", 2, "d"), QStringLiteral("2"));
        QVERIFY(found);
        // Only the first section of the name is searched, up to the next section line.
        QCOMPARE(ini.ValueGet(&found, "ZONES", "ZONE", 3, "d"), QStringLiteral("d"));
        QCOMPARE(ini.ValueGet(&found, "ZONES", "LATE", 1, "d"), QStringLiteral("d"));
        QVERIFY(!found);
        QVERIFY(!ini.SectionFind("zones", 1));
        QVERIFY(!ini.SectionFind("MISSING", 1));
        QVERIFY(!CFILE_INI(path).SectionFind("ZONES", 1));
    }

    void edits()
    {
        CFILE_INI ini(path);
        ini.lines = QStringList{"[ZONES]", "ZONE=1", "ZONE=2", "", "[GROUPS]"};
        QVERIFY(ini.ValueSet("ZONES", "ZONE", "x", 3));
        QVERIFY(ini.ValueSet("ZONES", "ZONE", "y", 2));
        QVERIFY(ini.KeyAdd("ZONES", "ZONE", "z"));
        QVERIFY(ini.KeyAdd("GROUPS", "GROUP", "g"));
        QVERIFY(ini.ValueSet("NEW", "K", "v", 1));
        QVERIFY(ini.KeyAdd("OTHER", "K", "w"));
        QCOMPARE(ini.lines, (QStringList{"[ZONES]", "ZONE=1", "ZONE=y", "", "ZONE=x", "ZONE=z", "[GROUPS]",
                                         "GROUP=g", "[NEW]", "K=v", "[OTHER]", "K=w"}));

        ini.lines = QStringList{"[GROUPS]", "GROUP=1", "",        "# note",   "GROUP=2",
                                "",         "[ZONES]", "ZONE0=x", "[GROUPS]", "GROUP=3"};
        QVERIFY(ini.SectionClear("GROUPS", 1));
        QVERIFY(ini.SectionClear("GROUPS", 2));
        QVERIFY(ini.SectionClear("MISSING", 1));
        QCOMPARE(ini.lines, (QStringList{"[GROUPS]", "", "", "[ZONES]", "ZONE0=x", "[GROUPS]"}));
    }

    void lineBreaksDoNotAddLines()
    {
        // Found by fuzzing: a label holding a line break came back as a section of its own.
        QVERIFY(FileWrite(path, "[ZONES]\n"));
        CFILE_INI ini(path);
        QVERIFY(ini.Open());
        QVERIFY(ini.ValueSet("ZONES", "ZONE0", "LABEL:Hall\n[GROUPS]\r\nGROUP=ID:9;LABEL:X", 1));
        QVERIFY(ini.KeyAdd("GROUPS\n", "GROUP\r", "ID:1\nLABEL:A"));
        const QStringList expected{"[ZONES]", "ZONE0=LABEL:Hall [GROUPS]\r GROUP=ID:9;LABEL:X", "[GROUPS ]",
                                   "GROUP\r=ID:1 LABEL:A"};
        QCOMPARE(ini.lines, expected);
        QCOMPARE(reloaded(ini), expected);
        bool found = true;
        ini.KeyLineFirst(&found, "GROUPS", 1);
        QVERIFY(!found);
    }

    void encoding()
    {
        // Earlier versions wrote Latin-1; such lines still read correctly next to UTF-8 ones.
        QVERIFY(FileWrite(path, "[ZONES]\nZONE0=LABEL:Acc\xe8s Hall\nZONE1=LABEL:Entr\xc3\xa9\x65\n"));
        CFILE_INI ini(path);
        QVERIFY(ini.Open());
        QCOMPARE(ini.lines.mid(1), (QStringList{"ZONE0=LABEL:Accès Hall", "ZONE1=LABEL:Entrée"}));
        QVERIFY(ini.ValueSet("ZONES", "ZONE2", "LABEL:Ça coûte 5 €", 1));
        QVERIFY(ini.Close());
        QVERIFY(FileBytes(path).contains("LABEL:Acc\xc3\xa8s Hall\n"));
        QVERIFY(ini.Open());
        QCOMPARE(ini.lines.mid(1),
                 (QStringList{"ZONE0=LABEL:Accès Hall", "ZONE1=LABEL:Entrée", "ZONE2=LABEL:Ça coûte 5 €"}));

        // Found by fuzzing: a byte-order mark starting a later line was dropped on each reload.
        // On the first line, once trimmed, it is kept by writing a byte-order mark of the file's own.
        for (const QByteArray& content :
             {QByteArray("\xef\xbb\xbf[A]\n \xef\xbb\xbfk=v\n"), QByteArray(" \xef\xbb\xbfk=v\n[A]\n")}) {
            QVERIFY(FileWrite(path, content));
            QVERIFY(ini.Open());
            const QStringList withMark = ini.lines;
            QVERIFY(withMark.contains(QChar(0xFEFF) + QStringLiteral("k=v")));
            QCOMPARE(reloaded(ini), withMark);
        }
    }

    void failedSaveKeepsOldFile()
    {
        const QByteArray old("[ZONES]\nZONE0=INSTALLED:YES;LABEL:Hall\n");
        QVERIFY(FileWrite(path, old));
        CFILE_INI ini(path);
        QVERIFY(ini.Open());
        for (int i = 0; i < 200; ++i)
            ini.KeyAdd("GROUPS", "GROUP", QString(100, QLatin1Char('g')));
        bool saved = true;
        bool closed = true;
        {
            FileSizeLimit fsize(4096);
            QVERIFY(fsize.isActive());
            saved = ini.Save();
            closed = ini.Close();
        }
        QVERIFY(!saved);
        QVERIFY(!closed);
        QCOMPARE(FileBytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("config.ini")});
    }

private:
    QTemporaryDir dir;
    QString path;
};

QTEST_APPLESS_MAIN(TstFileIni)
#include "tst_fileini.moc"
