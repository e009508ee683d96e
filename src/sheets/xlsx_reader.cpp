#include "sheets/xlsx_reader.h"

#include "sheets/cell_text.h"
#include "sheets/zip_archive.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

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
constexpr int kMaxColumn = 16384;

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

// The texts of the <t> elements below the current element, phonetic runs (<rPh>) left out;
// returns at the current element's end.
QString runText(QXmlStreamReader& xml) {
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t")
            text += xml.readElementText();
        else if (xml.name() == u"r")
            text += runText(xml);
        else
            xml.skipCurrentElement();
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
    shared_.clear();
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

// Calls onStart at every element of the package file at path; false when the file is
// missing or its XML broken.
template <typename OnStart> bool readXml(ZipArchive& zip, const QString& path, OnStart onStart) {
    const std::unique_ptr<ZipMember> file = zip.openMember(path);
    if (!file)
        return false;
    QXmlStreamReader xml(file.get());
    for (QXmlStreamReader::TokenType token;
         (token = xml.readNext()) != QXmlStreamReader::Invalid;) {
        if (token == QXmlStreamReader::StartElement)
            onStart(xml);
        else if (token == QXmlStreamReader::EndDocument)
            break;
    }
    return !xml.hasError() && !file->failed();
}

QHash<QString, Relationship> readRelationships(ZipArchive& zip, const QString& partPath) {
    const QString relsPath = (folderOf(partPath).isEmpty() ? QString() : folderOf(partPath) + "/") +
                             QStringLiteral("_rels/") + partPath.section(QLatin1Char('/'), -1) +
                             QStringLiteral(".rels");
    QHash<QString, Relationship> found;
    readXml(zip, relsPath, [&found, &partPath](QXmlStreamReader& xml) {
        if (xml.name() != u"Relationship")
            return;
        const QXmlStreamAttributes attributes = xml.attributes();
        found.insert(attributes.value(QLatin1String("Id")).toString(),
                     {resolvedTarget(folderOf(partPath),
                                     attributes.value(QLatin1String("Target")).toString()),
                      attributes.value(QLatin1String("Type")).toString()});
    });
    return found;
}

} // namespace

bool XlsxReader::readWorkbook(QString* problem) {
    QString workbookPath = QStringLiteral("xl/workbook.xml");
    for (const Relationship& r : readRelationships(*zip_, QString()))
        if (r.type.endsWith(QStringLiteral("/officeDocument")))
            workbookPath = r.target;

    QStringList ids;
    const bool read = readXml(*zip_, workbookPath, [this, &ids](QXmlStreamReader& xml) {
        if (xml.name() != u"sheet")
            return;
        QString id;
        for (const QXmlStreamAttribute& attribute : xml.attributes())
            if (attribute.name() == u"id")
                id = attribute.value().toString();
        names_.append(xml.attributes().value(QLatin1String("name")).toString());
        ids.append(id);
    });
    if (!read) {
        names_.clear();
        store(problem, QStringLiteral("压缩包中没有可读的工作簿内容（%1），不是 Excel 工作簿。")
                           .arg(workbookPath));
        return false;
    }
    const QHash<QString, Relationship> relationships = readRelationships(*zip_, workbookPath);
    QString sharedPath;
    for (const Relationship& r : relationships)
        if (r.type.endsWith(QStringLiteral("/sharedStrings")))
            sharedPath = r.target;
    for (const QString& id : ids)
        sheetPaths_.append(relationships.value(id).target);
    if (names_.isEmpty()) {
        store(problem, QStringLiteral("工作簿中没有工作表。"));
        return false;
    }
    return sharedPath.isEmpty() || readSharedStrings(sharedPath, problem);
}

bool XlsxReader::readSharedStrings(const QString& path, QString* problem) {
    const bool read = readXml(*zip_, path, [this](QXmlStreamReader& xml) {
        if (xml.name() == u"si")
            shared_.push_back(runText(xml).toStdString());
    });
    if (!read) {
        shared_.clear();
        store(problem, QStringLiteral("工作簿的共享文本（%1）已损坏，无法读取。").arg(path));
    }
    return read;
}

namespace {

// One sheet's XML, element by element, into rows.
class SheetRows {
public:
    SheetRows(const std::vector<std::string>& shared, const lottery::RowSink& sink)
        : shared_(shared), sink_(sink) {}

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
            value_.clear();
        } else if (name == u"v") {
            value_ = xml.readElementText();
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
        if (column_ > kMaxColumn)
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
            return ok && index < shared_.size() ? shared_[index] : std::string();
        }
        if (type_ == u"b")
            return QStringView(value_).trimmed() == u"1" ? "TRUE" : "FALSE";
        if (type_.isEmpty() || type_ == u"n")
            return value_.isEmpty() ? std::string() : numberText(value_);
        return value_.toStdString();
    }

    const std::vector<std::string>& shared_;
    const lottery::RowSink& sink_;
    std::vector<std::string> cells_;
    int row_ = 0;
    int column_ = 0;
    QString type_;
    QString value_;
};

} // namespace

bool XlsxReader::readSheet(int index, const lottery::RowSink& sink, QString* problem,
                           const Progress& progress) {
    if (!zip_ || index < 0 || index >= sheetPaths_.size())
        return false;
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
    QXmlStreamReader xml(file.get());
    SheetRows rows(shared_, sink);
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
