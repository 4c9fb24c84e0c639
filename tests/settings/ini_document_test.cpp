// The file format on its own: what a person sees, what a hand-edited file may look like, and what
// counts as a file that cannot be parsed.
#include "settings/ini_document.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using slp::settings::IniDocument;

namespace {

TEST(SettingsIniFormat, ChineseNamesAndValuesAreWrittenAsTheyAre) {
    IniDocument doc;
    doc.setValue(u"汇总表工资条设置"_s, u"每行列数"_s, u"24"_s);
    doc.setValue(u"打印设置"_s, u" 行高"_s, u"360"_s);
    doc.setValue(u"汇总表工资条设置"_s, u"打印横线"_s, u"是"_s);
    const QString text = QString::fromUtf8(doc.serialize());
    EXPECT_TRUE(text.contains(u"\n[汇总表工资条设置]\n每行列数=24\n打印横线=是\n"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"\n[打印设置]\n\\s行高=360\n"_s)) << text.toStdString();
}

TEST(SettingsIniFormat, EscapesOnlyWhatWouldReadDifferently) {
    EXPECT_EQ(IniDocument::escapeKey(u"每行列数"_s), u"每行列数"_s);
    EXPECT_EQ(IniDocument::escapeKey(u" 行高"_s), u"\\s行高"_s);
    EXPECT_EQ(IniDocument::escapeKey(u"a b"_s), u"a b"_s);
    EXPECT_EQ(IniDocument::escapeKey(u"k=v"_s), u"k\\=v"_s);
    EXPECT_EQ(IniDocument::escapeKey(u";x;"_s), u"\\;x;"_s);
    EXPECT_EQ(IniDocument::escapeKey(u"[x]"_s), u"\\[x]"_s);
    EXPECT_EQ(IniDocument::escapeKey(u"a/b\\c"_s), u"a/b\\\\c"_s);
    EXPECT_EQ(IniDocument::escapeSection(u"a[b]c=d"_s), u"a\\[b\\]c=d"_s);
    EXPECT_EQ(IniDocument::escapeValue(u"x=y;z "_s), u"x=y;z\\s"_s);
    EXPECT_EQ(IniDocument::escapeValue(u"a\tb\nc\rd"_s), u"a\\tb\\nc\\rd"_s);
    EXPECT_EQ(IniDocument::escapeValue(QString(QChar(0x01))), u"\\u0001"_s);
    EXPECT_EQ(IniDocument::escapeValue(QString(QChar(0xDC00))), u"\\uDC00"_s);
    EXPECT_EQ(IniDocument::escapeValue(u"😀"_s), u"😀"_s);
}

TEST(SettingsIniFormat, ReadsAHandEditedFile) {
    const QByteArray bytes =
        "\xEF\xBB\xBF; written by hand\r\n"
        "# another comment\r\n"
        "\r\n"
        "  [打印]  \r\n"
        "显示零 = -1\r\n"
        "\t空值=\r\n"
        "[打印]\r\n"
        "显示零=0\r\n"
        "[Other]\n"
        "a=b=c\n";
    const auto doc = IniDocument::parse(bytes);
    ASSERT_TRUE(doc.has_value());
    EXPECT_EQ(doc->value(u"打印"_s, u"显示零"_s), u"0"_s);  // the later value of a repeated key
    EXPECT_EQ(doc->value(u"打印"_s, u"空值"_s), QString());
    EXPECT_EQ(doc->value(u"Other"_s, u"a"_s), u"b=c"_s);
    EXPECT_FALSE(doc->value(u"other"_s, u"a"_s).has_value());
    EXPECT_FALSE(doc->value(u"打印"_s, u"missing"_s).has_value());
}

TEST(SettingsIniFormat, RejectsWhatIsNotASettingsFile) {
    const QByteArray bad[] = {
        "[s]\nno equals sign\n",
        "key=before any section\n",
        "[unterminated\nk=v\n",
        "[s] trailing\nk=v\n",
        "[s\\]\nk=v\n",
        "[s]\nk=dangling\\\n",
        "[s]\nk=unknown \\q escape\n",
        "[s]\nk=\\u12\n",
        "[s]\nk=\\uXYZW\n",
        QByteArray("[s]\nk=nul\0here\n", 16),
        "[s]\nk=\xff\xfe invalid utf-8\n",
        "[s]\nk=\xe4\xb8 cut sequence\n",
    };
    for (const QByteArray& bytes : bad) {
        EXPECT_FALSE(IniDocument::parse(bytes).has_value()) << bytes.toHex().constData();
    }
    EXPECT_TRUE(IniDocument::parse(QByteArray()).has_value());
    EXPECT_TRUE(IniDocument::parse("[]\n=\n").has_value());
}

TEST(SettingsIniFormat, SerializedDocumentsParseBackIdentically) {
    IniDocument doc;
    const QString names[] = {u""_s,
                             u" "_s,
                             u"\\"_s,
                             u"=="_s,
                             u"[]"_s,
                             u";"_s,
                             u"#"_s,
                             u"\n"_s,
                             u" a b "_s,
                             u"\\u0041\\s"_s,
                             QString(QChar(0xD83D)),
                             u"\u2028"_s,
                             u"\uFEFFbom"_s};
    for (const QString& section : names) {
        for (const QString& key : names) doc.setValue(section, key, section + u'|' + key);
    }
    const auto back = IniDocument::parse(doc.serialize());
    ASSERT_TRUE(back.has_value());
    for (const QString& section : names) {
        for (const QString& key : names) {
            EXPECT_EQ(back->value(section, key), section + u'|' + key)
                << section.toStdString() << " / " << key.toStdString();
        }
    }
    EXPECT_EQ(back->serialize(), doc.serialize());
}

}  // namespace
