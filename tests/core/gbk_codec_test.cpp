#include "core/gbk_codec.h"

#include <QTest>

using core::GbkCodec;

class GbkCodecTest : public QObject {
    Q_OBJECT

private slots:
    void textsConvertAndUnmappableCharactersAreCounted_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("gbk");
        QTest::addColumn<int>("lost");
        QTest::newRow("chinese") << QString::fromUtf8("特等奖 中文 abc 1")
                                 << QByteArray("\xCC\xD8\xB5\xC8\xBD\xB1 \xD6\xD0\xCE\xC4 abc 1")
                                 << 0;
        QTest::newRow("korean") << QString::fromUtf8("한국") << QByteArray("??") << 2;
        QTest::newRow("mixed") << QString::fromUtf8("中😀文😀") << QByteArray("\xD6\xD0?\xCE\xC4?")
                               << 2;
        QTest::newRow("pair across chunks") << QString(255, 'a') + QString::fromUtf8("😀中")
                                            << QByteArray(255, 'a') + "?\xD6\xD0" << 1;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "x" << QByteArray("?x") << 1;
    }

    void textsConvertAndUnmappableCharactersAreCounted() {
        QFETCH(QString, text);
        QFETCH(QByteArray, gbk);
        QFETCH(int, lost);
        int counted = -1;
        QCOMPARE(QByteArray::fromStdString(GbkCodec::fromQString(text, &counted)), gbk);
        QCOMPARE(counted, lost);
        QCOMPARE(QByteArray::fromStdString(GbkCodec::fromUtf8(text.toStdString())), gbk);
        // Dialogs refuse what GBK cannot hold; what it holds comes back unchanged.
        const auto strict = GbkCodec::toGbkStrict(text);
        QCOMPARE(strict.has_value(), lost == 0);
        if (strict) {
            QCOMPARE(QByteArray::fromStdString(*strict), gbk);
            QCOMPARE(GbkCodec::fromGbk(*strict), text);
            QCOMPARE(GbkCodec::toUtf8(*strict), text.toStdString());
        }
    }
};

QTEST_GUILESS_MAIN(GbkCodecTest)
#include "gbk_codec_test.moc"
