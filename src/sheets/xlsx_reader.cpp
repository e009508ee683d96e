#include "sheets/xlsx_reader.h"

#include "sheets/capped_xml_device.h"
#include "sheets/cell_text.h"
#include "sheets/zip_archive.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>
#include <optional>

namespace sheets {

namespace {

// Every OLE compound file starts so: an old .xls, or a workbook saved with a password.
const QByteArray kOleSignature = QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
// The stream a password-protected workbook keeps its key data in, as the file names it.
const QByteArray kEncryptionStream = QByteArray("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28);
// How far into an OLE file its stream names are looked for.
constexpr qint64 kOleScanBytes = 1 << 20;
// Rows between two progress reports.
constexpr int kProgressRows = 4096;

void store(QString* problem, const QString& text) {
    if (problem)
        *problem = text;
}

// A target of a relationship, as the path inside the package.
QString resolvedTarget(const QString& fromFolder, const QString& target) {
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return fromFolder.isEmpty() ? QDir::cleanPath(target)
                                : QDir::cleanPath(fromFolder + QLatin1Char('/') + target);
}

QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

// Bytes of a text run the XML reader is handed: room for kCellChars characters of UTF-8.
constexpr qint64 kRunBytes = 4 * XlsxReader::kCellChars + 64;

// Text of the current element up to its end, of which at most XlsxReader::kCellChars
// characters are kept.
void appendElementText(QXmlStreamReader& xml, QString& text) {
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        } else if (token == QXmlStreamReader::Characters) {
            const QStringView piece = xml.text();
            const auto room = static_cast<qsizetype>(XlsxReader::kCellChars) - text.size();
            if (room > 0)
                text += piece.left(room);
        }
    }
    // A cut between the halves of a character would leave half of one.
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
}

// The texts of the <t> elements below the current element, phonetic runs (<rPh>) left out;
// returns at the current element's end.
QString runText(QXmlStreamReader& xml) {
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t") {
            appendElementText(xml, text);
        } else if (xml.name() == u"r") {
            const QString run = runText(xml);
            text += QStringView(run).left(std::max<qsizetype>(
                0, static_cast<qsizetype>(XlsxReader::kCellChars) - text.size()));
        } else {
            xml.skipCurrentElement();
        }
    }
    return text;
}

struct Relationship {
    QString target;
    QString type;
};

} // namespace

XlsxReader::XlsxReader() = default;
XlsxReader::~XlsxReader() = default;

bool XlsxReader::open(const QString& path, QString* problem) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        store(problem, QStringLiteral("无法打开文件 %1：%2").arg(path, file->errorString()));
        return false;
    }
    zip_.reset();
    file_ = std::move(file);
    return open(file_.get(), problem);
}

bool XlsxReader::open(QIODevice* device, QString* problem) {
    zip_.reset();
    names_.clear();
    sheetPaths_.clear();
    sharedText_.clear();
    sharedEnds_.clear();
    styles_.clear();
    date1904_ = false;
    const QByteArray head = device->peek(kOleSignature.size());
    if (head == kOleSignature) {
        store(problem,
              device->peek(kOleScanBytes).contains(kEncryptionStream)
                  ? QStringLiteral("该工作簿设有打开密码（已加密），无法读取。请在 Excel 中取消"
                                   "密码后另存为 .xlsx 再导入。")
                  : QStringLiteral("这是旧版 Excel 文件（.xls），无法读取。请在 Excel 中另存为 "
                                   ".xlsx 或 CSV 后再导入。"));
        return false;
    }
    if (!head.startsWith("PK")) {
        store(problem, QStringLiteral("该文件不是 Excel 工作簿（.xlsx），无法读取。"));
        return false;
    }
    zip_ = std::make_unique<ZipArchive>();
    if (!zip_->open(device)) {
        zip_.reset();
        store(problem, QStringLiteral("该工作簿文件已损坏（压缩包无法打开），无法读取。"));
        return false;
    }
    return readWorkbook(problem);
}

namespace {

// Calls onStart at every element of the package file at path, until it returns false; false,
// with *why, when the file is missing or its XML broken.
template <typename OnStart>
bool readXml(ZipArchive& zip, const QString& path, OnStart onStart, QString* why = nullptr) {
    const std::unique_ptr<ZipMember> file = zip.openMember(path);
    if (!file) {
        store(why, zip.contains(path) ? QStringLiteral("无法解压 %1").arg(path)
                                      : QStringLiteral("缺少 %1").arg(path));
        return false;
    }
    CappedXmlDevice capped(*file, kRunBytes);
    QXmlStreamReader xml(&capped);
    for (QXmlStreamReader::TokenType token;
         (token = xml.readNext()) != QXmlStreamReader::Invalid;) {
        if (token == QXmlStreamReader::StartElement && !onStart(xml, capped))
            return true;
        if (token == QXmlStreamReader::EndDocument)
            break;
    }
    if (file->failed()) {
        store(why, QStringLiteral("%1 解压出错").arg(path));
        return false;
    }
    if (xml.hasError()) {
        store(why, QStringLiteral("%1 第 %2 行：%3")
                       .arg(path)
                       .arg(xml.lineNumber())
                       .arg(xml.errorString()));
        return false;
    }
    return true;
}

// The relationships of the part at partPath; nullopt, with *why, when they cannot be read.
std::optional<QHash<QString, Relationship>>
readRelationships(ZipArchive& zip, const QString& partPath, QString* why) {
    const QString relsPath = (folderOf(partPath).isEmpty() ? QString() : folderOf(partPath) + "/") +
                             QStringLiteral("_rels/") + partPath.section(QLatin1Char('/'), -1) +
                             QStringLiteral(".rels");
    QHash<QString, Relationship> found;
    const bool read = readXml(
        zip, relsPath,
        [&found, &partPath](QXmlStreamReader& xml, const CappedXmlDevice&) {
            if (xml.name() != u"Relationship")
                return true;
            const QXmlStreamAttributes attributes = xml.attributes();
            found.insert(attributes.value(QLatin1String("Id")).toString(),
                         {resolvedTarget(folderOf(partPath),
                                         attributes.value(QLatin1String("Target")).toString()),
                          attributes.value(QLatin1String("Type")).toString()});
            return true;
        },
        why);
    if (!read)
        return std::nullopt;
    return found;
}

} // namespace

bool XlsxReader::readWorkbook(QString* problem) {
    // Without the package's relationships the workbook is looked for where Excel puts it.
    QString workbookPath = QStringLiteral("xl/workbook.xml");
    QString why;
    if (const auto root = readRelationships(*zip_, QString(), &why))
        for (const Relationship& r : *root)
            if (r.type.endsWith(QStringLiteral("/officeDocument")))
                workbookPath = r.target;

    QStringList ids;
    const bool read = readXml(
        *zip_, workbookPath,
        [this, &ids](QXmlStreamReader& xml, const CappedXmlDevice&) {
            if (xml.name() == u"workbookPr") {
                const QStringView value = xml.attributes().value(QLatin1String("date1904"));
                date1904_ = value == u"1" || value == u"true";
            }
            if (xml.name() != u"sheet")
                return true;
            QString id;
            for (const QXmlStreamAttribute& attribute : xml.attributes())
                if (attribute.name() == u"id")
                    id = attribute.value().toString();
            names_.append(xml.attributes().value(QLatin1String("name")).toString());
            ids.append(id);
            return true;
        },
        &why);
    if (!read) {
        names_.clear();
        store(problem,
              QStringLiteral("压缩包中没有可读的工作簿内容（%1），不是 Excel 工作簿。").arg(why));
        return false;
    }
    const auto relationships = readRelationships(*zip_, workbookPath, &why);
    if (!relationships) {
        names_.clear();
        store(problem,
              QStringLiteral("工作簿的关系文件无法读取（%1），找不到工作表，无法读取。").arg(why));
        return false;
    }
    QString sharedPath;
    for (const Relationship& r : *relationships) {
        if (r.type.endsWith(QStringLiteral("/sharedStrings")))
            sharedPath = r.target;
        else if (r.type.endsWith(QStringLiteral("/styles")))
            readStyles(r.target);
    }
    for (const QString& id : ids)
        sheetPaths_.append(relationships->value(id).target);
    if (names_.isEmpty()) {
        store(problem, QStringLiteral("工作簿中没有工作表。"));
        return false;
    }
    return sharedPath.isEmpty() || readSharedStrings(sharedPath, problem);
}

void XlsxReader::readStyles(const QString& path) {
    // Unreadable styles only cost the dates their look: they then read as numbers.
    QHash<int, QString> codes;
    bool inCellStyles = false;
    readXml(*zip_, path,
            [this, &codes, &inCellStyles](QXmlStreamReader& xml, const CappedXmlDevice&) {
                const QXmlStreamAttributes attributes = xml.attributes();
                if (xml.name() == u"numFmt") {
                    codes.insert(attributes.value(QLatin1String("numFmtId")).toInt(),
                                 attributes.value(QLatin1String("formatCode")).toString());
                } else if (xml.name() == u"cellXfs") {
                    inCellStyles = true;
                } else if (xml.name() == u"cellStyleXfs" || xml.name() == u"dxfs") {
                    inCellStyles = false;
                } else if (xml.name() == u"xf" && inCellStyles) {
                    const int id = attributes.value(QLatin1String("numFmtId")).toInt();
                    styles_.push_back(numberShownBy(id, codes.value(id)));
                }
                return true;
            });
}

bool XlsxReader::readSharedStrings(const QString& path, QString* problem) {
    bool tooMany = false;
    QString why;
    const bool read = readXml(
        *zip_, path,
        [this, &tooMany](QXmlStreamReader& xml, const CappedXmlDevice& device) {
            if (xml.name() == u"si") {
                sharedText_ += runText(xml).toStdString();
                sharedEnds_.push_back(sharedText_.size());
            }
            tooMany = sharedEnds_.size() > limits_.sharedStrings ||
                      static_cast<std::size_t>(device.bytesSeen()) > limits_.sharedBytes;
            return !tooMany && !stopped();
        },
        &why);
    if (!read || tooMany || stopped()) {
        sharedText_.clear();
        sharedText_.shrink_to_fit();
        sharedEnds_.clear();
        sharedEnds_.shrink_to_fit();
    }
    if (tooMany)
        store(problem,
              QStringLiteral("工作簿的共享文本超过 %1 万条或 %2 MB，超出导入的上限，"
                             "无法读取。请只把名单所需的列另存为新的工作簿或 CSV 文件再导入。")
                  .arg(limits_.sharedStrings / 10000)
                  .arg(limits_.sharedBytes / 1000000));
    else if (!read)
        store(problem, QStringLiteral("工作簿的共享文本已损坏（%1），无法读取。").arg(why));
    else if (stopped())
        store(problem, QStringLiteral("已停止读取。"));
    return read && !tooMany && !stopped();
}

namespace {

// One sheet's XML, element by element, into rows.
class SheetRows {
public:
    struct Shared {
        const std::string& text;
        const std::vector<std::size_t>& ends;
    };
    SheetRows(Shared shared, const std::vector<NumberShown>& styles, bool date1904,
              const lottery::RowSink& sink)
        : shared_(shared), styles_(styles), date1904_(date1904), sink_(sink) {}

    // False once the sink wants no more.
    bool start(QXmlStreamReader& xml) {
        const QStringView name = xml.name();
        if (name == u"row")
            return startRow(xml.attributes().value(QLatin1String("r")));
        if (name == u"c") {
            const QXmlStreamAttributes attributes = xml.attributes();
            const int column = columnOfReference(attributes.value(QLatin1String("r")));
            column_ = column > 0 ? column : column_ + 1;
            type_ = attributes.value(QLatin1String("t")).toString();
            const qulonglong style = attributes.value(QLatin1String("s")).toULongLong();
            shown_ = style < styles_.size() ? styles_[style] : NumberShown::Number;
            value_.clear();
        } else if (name == u"v") {
            appendElementText(xml, value_);
        } else if (name == u"is") {
            value_ = runText(xml);
        } else if (name == u"f") {
            xml.skipCurrentElement();
        }
        return true;
    }

    bool end(QStringView name) {
        if (name == u"c")
            putCell();
        else if (name == u"row")
            return passRow();
        return true;
    }

    int rows() const { return row_; }

private:
    bool startRow(QStringView reference) {
        const int wanted = std::max(rowOfReference(reference), row_ + 1);
        cells_.clear();
        column_ = 0;
        while (row_ + 1 < wanted)
            if (++row_, !sink_(cells_))
                return false;
        row_ = wanted;
        return true;
    }

    bool passRow() {
        const bool more = sink_(cells_);
        cells_.clear();
        return more;
    }

    void putCell() {
        if (column_ > lottery::kMaxSheetColumns)
            return;
        const auto index = static_cast<std::size_t>(column_ - 1);
        if (cells_.size() <= index)
            cells_.resize(index + 1);
        cells_[index] = text();
    }

    std::string text() const {
        if (type_ == u"s") {
            bool ok = false;
            const qulonglong index = QStringView(value_).trimmed().toULongLong(&ok);
            if (!ok || index >= shared_.ends.size())
                return std::string();
            const std::size_t begin = index == 0 ? 0 : shared_.ends[index - 1];
            return shared_.text.substr(begin, shared_.ends[index] - begin);
        }
        if (type_ == u"b")
            return QStringView(value_).trimmed() == u"1" ? "TRUE" : "FALSE";
        if (type_.isEmpty() || type_ == u"n")
            return value_.isEmpty() ? std::string() : dateText(value_, shown_, date1904_);
        return value_.toStdString();
    }

    Shared shared_;
    const std::vector<NumberShown>& styles_;
    bool date1904_;
    const lottery::RowSink& sink_;
    std::vector<std::string> cells_;
    int row_ = 0;
    int column_ = 0;
    QString type_;
    NumberShown shown_ = NumberShown::Number;
    QString value_;
};

} // namespace

bool XlsxReader::readSheet(int index, const lottery::RowSink& sink, QString* problem,
                           const Progress& progress) {
    if (!zip_ || index < 0 || index >= sheetPaths_.size()) {
        store(problem, QStringLiteral("工作簿中没有第 %1 个工作表。").arg(index + 1));
        return false;
    }
    const QString name = names_[index];
    if (!zip_->contains(sheetPaths_[index])) {
        store(problem, QStringLiteral("工作簿中缺少工作表“%1”的内容，无法读取。").arg(name));
        return false;
    }
    const std::unique_ptr<ZipMember> file = zip_->openMember(sheetPaths_[index]);
    if (!file) {
        store(problem, QStringLiteral("无法读取工作表“%1”（可能已加密或损坏）。").arg(name));
        return false;
    }
    const qint64 total = file->inflatedSize();
    CappedXmlDevice capped(*file, kRunBytes);
    QXmlStreamReader xml(&capped);
    SheetRows rows({sharedText_, sharedEnds_}, styles_, date1904_, sink);
    int reported = 0;
    // A damaged stream keeps failing without an end: Invalid stops the loop, not atEnd().
    for (QXmlStreamReader::TokenType token; (token = xml.readNext()) != QXmlStreamReader::Invalid &&
                                            token != QXmlStreamReader::EndDocument;) {
        const bool more = token == QXmlStreamReader::StartElement ? rows.start(xml)
                          : token == QXmlStreamReader::EndElement ? rows.end(xml.name())
                                                                  : true;
        if (!more)
            return true;
        if (progress && rows.rows() >= reported + kProgressRows) {
            reported = rows.rows();
            progress(reported, total > 0 ? static_cast<int>(file->consumed() * 100 / total) : -1);
        }
    }
    if (xml.hasError() || file->failed()) {
        store(problem, QStringLiteral("工作表“%1”的内容已损坏（第 %2 行之后），无法读取。")
                           .arg(name)
                           .arg(rows.rows()));
        return false;
    }
    return true;
}

} // namespace sheets
