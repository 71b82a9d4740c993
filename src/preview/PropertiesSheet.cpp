#include "PropertiesSheet.h"

#include "ByteCountFormatter.h"
#include "DateTimeFormatter.h"
#include "FileExtensionImage.h"
#include "Thumbnail.h"
#include "Utils.h"
#include "UtilsColors.h"

#include <QFileInfo>

namespace {

// The room kept between the field and the keyboard: a bar, the field, a margin.
constexpr double keyboardClearance = 44 + 40 + 20;

QString dateText(const QDateTime &date)
{
    return date.isValid() ? Utils::sharedDateFormatter().stringFromDate(date) : QString();
}

} // namespace

PropertiesSheet::PropertiesSheet(QObject *parent) : QObject(parent) {}

QColor PropertiesSheet::borderColor()
{
    return Utils::colorWithHexString(QStringLiteral("bcbbc1"));
}

QColor PropertiesSheet::captionColor()
{
    return Utils::colorWithHexString(QStringLiteral("808080"));
}

void PropertiesSheet::fill(const QString &path)
{
    // The item itself, not what a link points to.
    const QFileInfo info = [&path] {
        QFileInfo fileInfo(path);
        fileInfo.setCaching(false);
        return fileInfo;
    }();
    const bool exists = info.exists() || info.isSymLink();
    m_name = info.fileName();
    m_sizeText = Utils::sharedFileSizeFormatter().stringFromByteCount(exists ? info.size() : 0);
    m_modifiedText = exists ? dateText(info.lastModified()) : QString();
    m_createdText = exists ? dateText(info.birthTime()) : QString();
    // Behind the previewer the picture would only take the processor from the preview.
    if (!m_hidden)
        showPicture(path);
    emit filled();
}

void PropertiesSheet::setPackedSize(qint64 bytes)
{
    m_packedSizeText =
        bytes < 0 ? QString() : Utils::sharedFileSizeFormatter().stringFromByteCount(bytes);
    emit packedSizeChanged();
}

void PropertiesSheet::showPicture(const QString &path)
{
    const QString extension = QFileInfo(path).suffix();
    if (Thumbnail::isMadeFor(extension)) {
        Thumbnail::cr_setLocalImageFilePath(&m_previewImageView, path, Thumbnail::Turn::First);
    } else if (!Utils::isSupportMediaFileFormat(extension.toLower())) {
        m_previewImageView.setRequestedImageKey({});
        m_previewImageView.setImage(
            FileExtensionImage(QRectF(0, 0, pictureSide, pictureSide), extension)
                .imageRepresentation());
    }
}

void PropertiesSheet::setHidden(bool hidden)
{
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    emit hiddenChanged();
}

void PropertiesSheet::keyboardWillChange(double keyboardHeight, double nameFieldY)
{
    // Never above the sheet's top: a field already clear of the keyboard stays where it is.
    m_contentOffsetY =
        m_contentOffsetY == 0 ? std::max(0.0, nameFieldY - keyboardHeight - keyboardClearance) : 0;
    emit contentOffsetChanged();
}

void PropertiesSheet::userScrolled(double offset)
{
    m_contentOffsetY = offset;
}
