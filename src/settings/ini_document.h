#pragma once
// One settings file in memory: sections in file order, each with its keys in file order.
//
// The file is UTF-8 text a person can read and edit:
//
//     [汇总表工资条设置]
//     每行列数=24
//     \s行高=360
//
// Sections, keys and values are kept exactly as written (case, blanks, any character). A backslash
// escapes what would otherwise be read differently:
//     \\  a backslash            \s  a blank at either end of a name or value (raw end blanks are ignored)
//     \=  "=" in a key           \[ \]  brackets in a section name
//     \;  \#  a key beginning with ";" or "#" (such lines are comments)
//     \t \n \r  tab, line feed, carriage return
//     \uXXXX  any other control character or a lone surrogate, by its UTF-16 code unit
// A key beginning with "[" is written "\[". Everything else, Chinese text included, is written as is.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace slp::settings {

class IniDocument {
  public:
    // A line read past: its number (from 1) and why.
    struct SkippedLine {
        int number = 0;
        QString reason;
        friend bool operator==(const SkippedLine&, const SkippedLine&) = default;
    };

    // Every well-formed line of the bytes; a line that is not is skipped and listed in `skipped`:
    // invalid UTF-8 or a NUL byte in it, neither blank, comment, [section] nor key=value, a key before
    // the first section, or an unknown or unfinished escape. A section line that is skipped takes the
    // keys under it along (they belong to no section that can be named). A key given twice in a section
    // keeps its last value.
    static IniDocument parseKeepingGoodLines(const QByteArray& bytes, QList<SkippedLine>& skipped);
    // nullopt when any line would be skipped (see parseKeepingGoodLines).
    static std::optional<IniDocument> parse(const QByteArray& bytes);
    QByteArray serialize() const;

    std::optional<QString> value(const QString& section, const QString& key) const;
    // Replaces the value of an existing key in place, or appends the key (and the section).
    void setValue(const QString& section, const QString& key, const QString& value);

    bool isEmpty() const { return sections_.isEmpty(); }

    // The escaped forms, also used by the tests to check what a person sees in the file.
    static QString escapeSection(const QString& name);
    static QString escapeKey(const QString& key);
    static QString escapeValue(const QString& value);

  private:
    struct Section {
        QString name;
        QList<std::pair<QString, QString>> entries;
    };
    // The section's index in sections_, appended when it is new.
    qsizetype sectionFor(const QString& name);
    // Sets a key of the section at `index`, in place or appended.
    void set(qsizetype index, const QString& key, const QString& value);

    QList<Section> sections_;
    // Lookups in constant time, so reading a file of many sections stays linear: section name to
    // its index, and (section index, key) to the key's index among the section's entries.
    QHash<QString, qsizetype> sectionIndex_;
    QHash<std::pair<qsizetype, QString>, qsizetype> keyIndex_;
};

}  // namespace slp::settings
