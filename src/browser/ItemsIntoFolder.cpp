#include "ItemsIntoFolder.h"

#include "ItemCopy.h"
#include "MoveIntoFolder.h"
#include "ViewController.h"

#include <QFileInfo>
#include <QPointer>

namespace ItemsIntoFolder {

void run(ViewController *presenter, const QStringList &sources, const QString &folder,
         const QString &folderName, const QString &status, Put put,
         std::function<void(const QList<Error> &failures)> finished,
         std::shared_ptr<FileActionJob::Progress> progress)
{
    auto found = std::make_shared<QList<int>>();
    QPointer<ViewController> weakPresenter(presenter);
    const auto askThenPut = [=](const QList<Error> &) {
        if (progress && progress->cancelled) {
            finished({});
            return;
        }
        QStringList names;
        for (int i : *found)
            names.append(QFileInfo(sources.at(i)).fileName());
        NameClashQuestion::ask(weakPresenter, names, folderName, [=](const QList<Answer> &answers) {
            QList<FileActionJob::Operation> puts;
            for (qsizetype i = 0, clash = 0; i < sources.size(); ++i) {
                std::optional<Answer> answer;
                if (clash < found->size() && found->at(clash) == i)
                    answer = answers.at(clash++);
                if (answer == Answer::Stop)
                    break;
                puts.append([source = sources.at(i), answer, put](Error *error) {
                    return put(source, answer, error);
                });
            }
            FileActionJob::run(status, std::move(puts), weakPresenter, finished, progress);
        });
    };
    FileActionJob::run(status,
                       {[found, sources, folder, progress](Error *) {
                           *found = MoveIntoFolder::clashes(sources, folder);
                           for (const QString &source : sources)
                               if (progress)
                                   progress->total += ItemCopy::bytesIn(source);
                           return true;
                       }},
                       presenter, askThenPut, progress);
}

} // namespace ItemsIntoFolder
