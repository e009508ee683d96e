#include "sheets/xlsx_writer.h"

#include "sheets/cell_text.h"

#include <QFile>
#include <QXmlStreamWriter>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <filesystem>
#include <functional>
#include <system_error>

// The package is written with QuaZip, not libxlsxwriter: both carry their own minizip under
// the same symbol names, and in one process the reader's would serve the writer's calls.

namespace sheets {

namespace {

constexpr auto kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr auto kPackageRels = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr auto kOfficeRels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::size_t kMaxRows = 1048576;
constexpr std::size_t kMaxColumns = 16384;

using Part = std::function<void(QXmlStreamWriter&)>;

bool writePart(QuaZip& zip, const QString& name, const Part& body) {
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)))
        return false;
    QXmlStreamWriter xml(&file);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    body(xml);
    xml.writeEndDocument();
    file.close();
    return !xml.hasError() && file.getZipError() == 0;
}

void relationship(QXmlStreamWriter& xml, const char* id, const char* type, const char* target) {
    xml.writeEmptyElement(QStringLiteral("Relationship"));
    xml.writeAttribute(QStringLiteral("Id"), QLatin1String(id));
    xml.writeAttribute(QStringLiteral("Type"),
                       QLatin1String(kOfficeRels) + QLatin1String("/") + QLatin1String(type));
    xml.writeAttribute(QStringLiteral("Target"), QLatin1String(target));
}

// XML 1.0 holds no control characters but tab and line breaks.
QString xmlText(const std::string& utf8) {
    QString text = QString::fromStdString(utf8);
    for (QChar& c : text)
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            c = u'?';
    return text;
}

bool writeParts(QuaZip& zip, const QString& sheetName,
                const std::vector<std::vector<std::string>>& rows) {
    const bool types = writePart(zip, QStringLiteral("[Content_Types].xml"), [](auto& xml) {
        xml.writeStartElement(QStringLiteral("Types"));
        xml.writeDefaultNamespace(
            QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
        xml.writeEmptyElement(QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), QStringLiteral("rels"));
        xml.writeAttribute(
            QStringLiteral("ContentType"),
            QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
        xml.writeEmptyElement(QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), QStringLiteral("xml"));
        xml.writeAttribute(QStringLiteral("ContentType"), QStringLiteral("application/xml"));
        const std::pair<const char*, const char*> overrides[] = {
            {"/xl/workbook.xml", "sheet.main+xml"}, {"/xl/worksheets/sheet1.xml", "worksheet+xml"}};
        for (const auto& [part, type] : overrides) {
            xml.writeEmptyElement(QStringLiteral("Override"));
            xml.writeAttribute(QStringLiteral("PartName"), QLatin1String(part));
            xml.writeAttribute(QStringLiteral("ContentType"),
                               QStringLiteral("application/"
                                              "vnd.openxmlformats-officedocument.spreadsheetml.") +
                                   QLatin1String(type));
        }
        xml.writeEndElement();
    });
    const bool packageRels = writePart(zip, QStringLiteral("_rels/.rels"), [](auto& xml) {
        xml.writeStartElement(QStringLiteral("Relationships"));
        xml.writeDefaultNamespace(QLatin1String(kPackageRels));
        relationship(xml, "rId1", "officeDocument", "xl/workbook.xml");
        xml.writeEndElement();
    });
    const bool workbook = writePart(zip, QStringLiteral("xl/workbook.xml"), [&](auto& xml) {
        xml.writeStartElement(QStringLiteral("workbook"));
        xml.writeDefaultNamespace(QLatin1String(kMain));
        xml.writeNamespace(QLatin1String(kOfficeRels), QStringLiteral("r"));
        xml.writeStartElement(QStringLiteral("sheets"));
        xml.writeEmptyElement(QStringLiteral("sheet"));
        xml.writeAttribute(QStringLiteral("name"), sheetName);
        xml.writeAttribute(QStringLiteral("sheetId"), QStringLiteral("1"));
        xml.writeAttribute(QLatin1String(kOfficeRels), QStringLiteral("id"),
                           QStringLiteral("rId1"));
        xml.writeEndElement();
        xml.writeEndElement();
    });
    const bool workbookRels =
        writePart(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), [](auto& xml) {
            xml.writeStartElement(QStringLiteral("Relationships"));
            xml.writeDefaultNamespace(QLatin1String(kPackageRels));
            relationship(xml, "rId1", "worksheet", "worksheets/sheet1.xml");
            xml.writeEndElement();
        });
    const bool sheet = writePart(zip, QStringLiteral("xl/worksheets/sheet1.xml"), [&](auto& xml) {
        xml.writeStartElement(QStringLiteral("worksheet"));
        xml.writeDefaultNamespace(QLatin1String(kMain));
        xml.writeStartElement(QStringLiteral("sheetData"));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            xml.writeStartElement(QStringLiteral("row"));
            xml.writeAttribute(QStringLiteral("r"), QString::number(r + 1));
            for (std::size_t c = 0; c < rows[r].size() && c < kMaxColumns; ++c) {
                xml.writeStartElement(QStringLiteral("c"));
                xml.writeAttribute(QStringLiteral("r"),
                                   QString::fromStdString(cellReference(static_cast<int>(c) + 1,
                                                                        static_cast<int>(r) + 1)));
                xml.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
                xml.writeStartElement(QStringLiteral("is"));
                xml.writeStartElement(QStringLiteral("t"));
                xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                xml.writeCharacters(xmlText(rows[r][c]));
                xml.writeEndElement();
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeEndElement();
    });
    return types && packageRels && workbook && workbookRels && sheet;
}

void store(QString* problem, const QString& text) {
    if (problem)
        *problem = text;
}

} // namespace

bool writeTextWorkbook(const QString& path, const QString& sheetName,
                       const std::vector<std::vector<std::string>>& rows, QString* problem) {
    if (rows.size() > kMaxRows) {
        store(problem, QStringLiteral("行数超过 Excel 工作表的上限，无法导出。"));
        return false;
    }
    const QString partPath = path + QStringLiteral(".part");
    bool written = false;
    {
        QuaZip zip(partPath);
        written = zip.open(QuaZip::mdCreate) && writeParts(zip, sheetName, rows);
        zip.close();
        written = written && zip.getZipError() == 0;
    }
    std::error_code renameError;
    if (written)
        std::filesystem::rename(QFile::encodeName(partPath).constData(),
                                QFile::encodeName(path).constData(), renameError);
    if (!written || renameError) {
        QFile::remove(partPath);
        store(problem,
              QStringLiteral("无法写入 %1%2")
                  .arg(path, renameError ? QStringLiteral("：") +
                                               QString::fromStdString(renameError.message())
                                         : QString()));
        return false;
    }
    return true;
}

} // namespace sheets
