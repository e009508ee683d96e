#include "core/gbk_codec.h"

#include <QTest>

using core::GbkCodec;

class GbkCodecTest : public QObject {
    Q_OBJECT

private slots:
    void chineseTextRoundTrips();
    void unmappableCharactersBecomeOneQuestionMarkEach_data();
    void unmappableCharactersBecomeOneQuestionMarkEach();
    void strictConversionRefusesWhatGbkCannotHold();
    void brokenGbkStillDecodes();
};

void GbkCodecTest::chineseTextRoundTrips() {
    const std::string utf8 = "特等奖 中文 abc 1";
    int lost = -1;
    const std::string gbk = GbkCodec::fromUtf8(utf8, &lost);
    QCOMPARE(lost, 0);
    // 特 is 0xCC 0xD8 in GBK.
    QCOMPARE(QByteArray::fromStdString(gbk.substr(0, 2)), QByteArray("\xCC\xD8"));
    QCOMPARE(gbk.size(), std::size_t{17});
    QCOMPARE(GbkCodec::toUtf8(gbk), utf8);
    QCOMPARE(GbkCodec::fromGbk(gbk), QString::fromStdString(utf8));
}

void GbkCodecTest::unmappableCharactersBecomeOneQuestionMarkEach_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<int>("lost");
    QTest::newRow("emoji") << QString::fromUtf8("a😀b") << QByteArray("a?b") << 1;
    QTest::newRow("korean") << QString::fromUtf8("한국") << QByteArray("??") << 2;
    QTest::newRow("thai") << QString::fromUtf8("ไทย") << QByteArray("???") << 3;
    QTest::newRow("mixed") << QString::fromUtf8("中😀文😀") << QByteArray("\xD6\xD0?\xCE\xC4?") << 2;
    QTest::newRow("pair across chunks")
        << QString(255, 'a') + QString::fromUtf8("😀中") << QByteArray(255, 'a') + "?\xD6\xD0" << 1;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "x" << QByteArray("?x") << 1;
}

void GbkCodecTest::unmappableCharactersBecomeOneQuestionMarkEach() {
    QFETCH(QString, text);
    QFETCH(QByteArray, gbk);
    QFETCH(int, lost);
    int counted = -1;
    QCOMPARE(QByteArray::fromStdString(GbkCodec::fromQString(text, &counted)), gbk);
    QCOMPARE(counted, lost);
    QCOMPARE(QByteArray::fromStdString(GbkCodec::fromUtf8(text.toStdString())), gbk);
}

void GbkCodecTest::strictConversionRefusesWhatGbkCannotHold() {
    const auto held = GbkCodec::toGbkStrict(QString::fromUtf8("一等奖"));
    QVERIFY(held.has_value());
    QCOMPARE(GbkCodec::fromGbk(*held), QString::fromUtf8("一等奖"));
    QVERIFY(!GbkCodec::toGbkStrict(QString::fromUtf8("一等奖😀")).has_value());
    QVERIFY(!GbkCodec::toGbkStrict(QString::fromUtf8("김")).has_value());
    QVERIFY(GbkCodec::toGbkStrict(QString()).has_value());
}

void GbkCodecTest::brokenGbkStillDecodes() {
    // A text cut inside its last character keeps a visible mark of the lost byte.
    QCOMPARE(GbkCodec::fromGbk(std::string_view("\xD6\xD0"
                                                "a\xD6",
                                                4)),
             QString::fromUtf8("中a") + QChar::ReplacementCharacter);
    QCOMPARE(GbkCodec::toUtf8(std::string_view("\xD6", 1)), std::string("\xEF\xBF\xBD"));
    QCOMPARE(GbkCodec::fromGbk(std::string_view("a\0b", 3)), QString::fromLatin1("a\0b", 3));
}

QTEST_GUILESS_MAIN(GbkCodecTest)
#include "gbk_codec_test.moc"
