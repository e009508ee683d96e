#include "app/import_command.h"

#include "app/event_lock.h"
#include "core/ccore.h"
#include "core/path_conversion.h"
#include "lottery/event_folder_check.h"
#include "lottery/file_text.h"
#include "lottery/list_import.h"
#include "sheets/sheet_file.h"

#include <QDir>

namespace app {

namespace {

int refuse(std::ostream& err, const QString& problem) {
    err << "prizedraw: " << problem.toStdString() << "\n";
    return 1;
}

bool readInto(lottery::ListImport& import, sheets::SheetFile& file, int sheet, QString* problem) {
    return file.read(
        sheet - 1,
        [&import](const std::vector<std::string>& cells) {
            import.addRow(cells);
            return true;
        },
        problem);
}

// What the import did, one tab-separated line each, for scripts.
void report(const lottery::ListImport& import, const std::filesystem::path& written,
            const std::filesystem::path& backup, core::CCore& services, std::ostream& out) {
    out << "entries\t" << import.entries() << "\n";
    const auto duplicates = import.duplicates();
    out << "duplicates\t" << duplicates.size() << "\n";
    for (const auto& [text, count] : duplicates)
        out << "duplicate\t" << services.utf8FromGbk(text) << "\t" << count << "\n";
    out << "skipped\t" << import.emptyRows() << "\n";
    out << "cut\t" << import.cut() << "\n";
    if (import.unmappable() > 0)
        out << "unmappable\t" << import.unmappable() << "\n";
    if (import.overCapacity() > 0)
        out << "over_capacity\t" << import.overCapacity() << "\n";
    out << "written\t" << lottery::pathText(written) << "\n";
    if (!backup.empty())
        out << "backup\t" << lottery::pathText(backup) << "\n";
    out.flush();
}

} // namespace

int runImportCommand(const CommandLine& command, std::ostream& out, std::ostream& err) {
    core::CCore services(command.folder);
    const auto paths = lottery::EventPaths::forFolder(services.getAppPath());
    const QString eventFolder = core::toQString(paths.appFolder);
    const EventLock lock(eventFolder);
    if (const std::string link = lottery::linkLeadingOutside(paths); !link.empty())
        return refuse(err, QString::fromStdString(link));
    if (lock.state() == EventLock::State::HeldElsewhere)
        return refuse(err, QStringLiteral("活动文件夹 %1 已在另一个抽奖程序中打开，未导入。")
                               .arg(QDir::toNativeSeparators(eventFolder)));

    sheets::SheetFile file;
    QString problem;
    if (!file.open(command.importFile, &problem))
        return refuse(err, problem);
    if (file.isWorkbook() && command.sheet > file.sheetNames().size())
        return refuse(err, QStringLiteral("工作簿只有 %1 个工作表，没有第 %2 个。")
                               .arg(file.sheetNames().size())
                               .arg(command.sheet));

    lottery::ImportOptions options;
    options.headerRow = command.headerRow;
    options.columns.assign(command.columns.begin(), command.columns.end());
    lottery::ListImport import(options, file.encoding(), services);
    if (!readInto(import, file, command.sheet, &problem))
        return refuse(err, problem);
    if (import.entries() == 0)
        return refuse(err, QStringLiteral("所选的列中没有任何条目，名单未改动。"));
    // A list's published fingerprint must cover only people who can win.
    if (import.overCapacity() > 0 && !command.allowCut) {
        out << "over_capacity\t" << import.overCapacity() << "\n";
        return refuse(err,
                      QStringLiteral("文件中有 %1 个条目，超过名单 %2 个条目的上限，名单未改动。"
                                     "只导入前 %2 个请加 --allow-cut。")
                          .arg(import.entries())
                          .arg(lottery::kParticipantCapacity));
    }

    std::filesystem::path backup;
    std::string writeProblem;
    if (!lottery::writeImportedList(paths.participantFile, import.bytesWithinCapacity(), services,
                                    &backup, &writeProblem))
        return refuse(err, QString::fromStdString(writeProblem));

    report(import, paths.participantFile, backup, services, out);
    return 0;
}

} // namespace app
