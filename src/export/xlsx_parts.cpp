#include "export/xlsx_parts.h"

namespace slp::sheet {

namespace {

#define SLP_XML_DECLARATION "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
#define SLP_PACKAGE_SCHEMA "http://schemas.openxmlformats.org/package/2006/"
#define SLP_DOCUMENT_SCHEMA "http://schemas.openxmlformats.org/officeDocument/2006/"
#define SLP_SHEET_SCHEMA "http://schemas.openxmlformats.org/spreadsheetml/2006/main"

QByteArray contentTypes() {
    return QByteArrayLiteral(
        SLP_XML_DECLARATION
        "<Types xmlns=\"" SLP_PACKAGE_SCHEMA
        "content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/docProps/app.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
        "<Override PartName=\"/docProps/core.xml\" "
        "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
        "<Override PartName=\"/xl/theme/theme1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.theme+xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
        "</Types>");
}

QByteArray packageRelationships() {
    return QByteArrayLiteral(SLP_XML_DECLARATION "<Relationships xmlns=\"" SLP_PACKAGE_SCHEMA
                                                 "relationships\">"
                                                 "<Relationship Id=\"rId1\" Type=\"" SLP_DOCUMENT_SCHEMA
                                                 "relationships/officeDocument\" "
                                                 "Target=\"xl/workbook.xml\"/>"
                                                 "<Relationship Id=\"rId2\" Type=\"" SLP_PACKAGE_SCHEMA
                                                 "relationships/metadata/core-properties\" "
                                                 "Target=\"docProps/core.xml\"/>"
                                                 "<Relationship Id=\"rId3\" Type=\"" SLP_DOCUMENT_SCHEMA
                                                 "relationships/extended-properties\" "
                                                 "Target=\"docProps/app.xml\"/>"
                                                 "</Relationships>");
}

QByteArray workbookRelationships() {
    return QByteArrayLiteral(SLP_XML_DECLARATION "<Relationships xmlns=\"" SLP_PACKAGE_SCHEMA
                                                 "relationships\">"
                                                 "<Relationship Id=\"rId1\" Type=\"" SLP_DOCUMENT_SCHEMA
                                                 "relationships/worksheet\" "
                                                 "Target=\"worksheets/sheet1.xml\"/>"
                                                 "<Relationship Id=\"rId2\" Type=\"" SLP_DOCUMENT_SCHEMA
                                                 "relationships/theme\" "
                                                 "Target=\"theme/theme1.xml\"/>"
                                                 "<Relationship Id=\"rId3\" Type=\"" SLP_DOCUMENT_SCHEMA
                                                 "relationships/styles\" "
                                                 "Target=\"styles.xml\"/>"
                                                 "</Relationships>");
}

QByteArray workbook() {
    return QByteArrayLiteral(
        SLP_XML_DECLARATION
        "<workbook xmlns=\"" SLP_SHEET_SCHEMA
        "\" "
        "xmlns:r=\"" SLP_DOCUMENT_SCHEMA
        "relationships\">"
        "<fileVersion appName=\"xl\" lastEdited=\"4\" lowestEdited=\"4\" rupBuild=\"4505\"/>"
        "<workbookPr defaultThemeVersion=\"124226\"/>"
        "<bookViews><workbookView xWindow=\"240\" yWindow=\"15\" windowWidth=\"16095\" "
        "windowHeight=\"9660\"/></bookViews>"
        "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
        "<calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/></workbook>");
}

QByteArray styles() {
    return QByteArrayLiteral(
        SLP_XML_DECLARATION
        "<styleSheet xmlns=\"" SLP_SHEET_SCHEMA
        "\">"
        // The number formats of amount cells: built-in 1 is "0", 2 is "0.00"; "0.0" is one of our own.
        "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.0\"/></numFmts>"
        "<fonts count=\"1\"><font><sz val=\"11\"/><color theme=\"1\"/><name val=\"Calibri\"/>"
        "<family val=\"2\"/><scheme val=\"minor\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\"/></cellStyleXfs>"
        // Styles 0 to 3 in the order of NumberStyle: General, "0", "0.00", "0.0".
        "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
        "xfId=\"0\"/>"
        "<xf numFmtId=\"1\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
        "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
        "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
        "applyNumberFormat=\"1\"/></cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
        "<dxfs count=\"0\"/><tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" "
        "defaultPivotStyle=\"PivotStyleLight16\"/></styleSheet>");
}

QByteArray coreProperties(const QString& title, const QDateTime& created) {
    const QByteArray time = created.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toUtf8();
    return QByteArrayLiteral(SLP_XML_DECLARATION
                             "<cp:coreProperties xmlns:cp=\"" SLP_PACKAGE_SCHEMA
                             "metadata/core-properties\" "
                             "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
                             "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                             "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
                             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>") +
           escapedXml(title) +
           QByteArrayLiteral(
               "</dc:title><dc:creator></dc:creator><cp:lastModifiedBy></cp:lastModifiedBy>"
               "<dcterms:created xsi:type=\"dcterms:W3CDTF\">") +
           time + QByteArrayLiteral("</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">") +
           time + QByteArrayLiteral("</dcterms:modified></cp:coreProperties>");
}

QByteArray applicationProperties(const QString& company) {
    return QByteArrayLiteral(
               SLP_XML_DECLARATION
               "<Properties xmlns=\"" SLP_DOCUMENT_SCHEMA
               "extended-properties\" "
               "xmlns:vt=\"" SLP_DOCUMENT_SCHEMA
               "docPropsVTypes\"><Application>Microsoft Excel</Application>"
               "<DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop><HeadingPairs>"
               "<vt:vector size=\"2\" baseType=\"variant\"><vt:variant><vt:lpstr>Worksheets</vt:lpstr>"
               "</vt:variant><vt:variant><vt:i4>1</vt:i4></vt:variant></vt:vector></HeadingPairs>"
               "<TitlesOfParts><vt:vector size=\"1\" baseType=\"lpstr\"><vt:lpstr>Sheet1</vt:lpstr>"
               "</vt:vector></TitlesOfParts><Company>") +
           escapedXml(company) +
           QByteArrayLiteral(
               "</Company><LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc>"
               "<HyperlinksChanged>false</HyperlinksChanged><AppVersion>12.0000</AppVersion>"
               "</Properties>");
}

#undef SLP_XML_DECLARATION
#undef SLP_PACKAGE_SCHEMA
#undef SLP_DOCUMENT_SCHEMA
#undef SLP_SHEET_SCHEMA

}  // namespace

QList<PackagePart> partsBeforeSheet() {
    return {{QByteArrayLiteral("[Content_Types].xml"), contentTypes()},
            {QByteArrayLiteral("_rels/.rels"), packageRelationships()},
            {QByteArrayLiteral("xl/_rels/workbook.xml.rels"), workbookRelationships()}};
}

QList<PackagePart> partsAfterSheet(const QString& title, const QString& company, const QDateTime& created) {
    return {{QByteArrayLiteral("xl/workbook.xml"), workbook()},
            {QByteArrayLiteral("xl/theme/theme1.xml"), themeXml()},
            {QByteArrayLiteral("xl/styles.xml"), styles()},
            {QByteArrayLiteral("docProps/core.xml"), coreProperties(title, created)},
            {QByteArrayLiteral("docProps/app.xml"), applicationProperties(company)}};
}

QByteArray escapedXml(const QString& text) {
    return text.toHtmlEscaped().replace(QStringLiteral("&quot;"), QStringLiteral("\"")).toUtf8();
}

}  // namespace slp::sheet
