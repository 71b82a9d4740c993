// Lists a folder the way a listing screen does (read, then sort newest first) and prints how
// many items and how long, so bench/listing.sh can set it beside `ls -l`.
#include "KPDocumentPickerItemManager.h"
#include "LocalFolderListing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: listing-bench DIR\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const auto items = LocalFolderListing::itemsInFolder(QString::fromLocal8Bit(argv[1]));
    const qint64 read = clock.elapsed();
    const auto sorted = KPDocumentPickerItemManager::sortedItemsArrayWithArray(
        items, KPDocumentPickerSortTypeDateDescending);
    std::printf("%lld items, read %lld ms, sorted %lld ms\n", (long long)sorted.size(),
                (long long)read, (long long)(clock.elapsed() - read));
    return 0;
}
