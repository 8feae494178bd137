// The program-folder generator, run as the build runs it: exact first-run bytes, playable sounds,
// readable icons, and the user's own files left alone.
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

#include "program_folder_fixture.h"

namespace tallowby::test {
namespace {

std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

int runGenerator(const std::filesystem::path& folder) {
    return QProcess::execute(QStringLiteral(TALLOWBY_MKFOLDER), {QString::fromStdString(folder.string())});
}

std::uint32_t little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

struct Wav {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<std::int16_t> samples;
};

// Reads the canonical 44-byte PCM layout and checks that every size field agrees with the file.
Wav parseWav(const std::string& bytes) {
    Wav wav;
    EXPECT_GE(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(little(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(little(bytes, 16, 4), 16u);
    EXPECT_EQ(little(bytes, 20, 2), 1u); // PCM
    wav.channels = static_cast<int>(little(bytes, 22, 2));
    wav.rate = static_cast<int>(little(bytes, 24, 4));
    wav.bits = static_cast<int>(little(bytes, 34, 2));
    EXPECT_EQ(little(bytes, 28, 4), static_cast<std::uint32_t>(wav.rate * wav.channels * wav.bits / 8));
    EXPECT_EQ(little(bytes, 32, 2), static_cast<std::uint32_t>(wav.channels * wav.bits / 8));
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(little(bytes, 40, 4), bytes.size() - 44);
    for (std::size_t at = 44; at + 1 < bytes.size(); at += 2)
        wav.samples.push_back(static_cast<std::int16_t>(little(bytes, at, 2)));
    return wav;
}

// Zero crossings per second: twice the dominant pitch for these simple tones.
double crossingRate(const Wav& wav) {
    int crossings = 0;
    for (std::size_t i = 1; i < wav.samples.size(); ++i)
        crossings += (wav.samples[i - 1] < 0) != (wav.samples[i] < 0);
    return crossings * static_cast<double>(wav.rate) / static_cast<double>(wav.samples.size());
}

// Stretches of sound separated by at least 50 ms of near silence.
int bursts(const Wav& wav) {
    const std::size_t gap = static_cast<std::size_t>(wav.rate / 20);
    int count = 0;
    std::size_t quiet = gap;
    for (std::int16_t s : wav.samples) {
        if (std::abs(s) > 1000) {
            count += quiet >= gap;
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return count;
}

double greenness(const QImage& image) {
    double green = 0;
    double other = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            green += qGreen(p) * qAlpha(p);
            other += (qRed(p) + qBlue(p)) / 2.0 * qAlpha(p);
        }
    return green / std::max(other, 1.0);
}

class ProgramFolderTest : public testing::Test {
  protected:
    TempProgramFolder folder;
    const store::ProgramPaths& paths = folder.paths();
};

TEST_F(ProgramFolderTest, FreshFolderGetsFirstRunFilesWithExactBytes) {
    ASSERT_EQ(runGenerator(folder.folder()), 0);
    EXPECT_EQ(bytesOf(paths.configFile()),
              "Default\r\n0\r\n0\r\n1\r\n1\r\n1\r\n1\r\n10\r\n0\r\n1\r\n0\r\n2\r\n1\r\n0\r\n0\r\n");
    EXPECT_EQ(bytesOf(paths.profileListFile()), "Default\r\n");
    EXPECT_EQ(bytesOf(paths.wholeDayFile("Default")), "0000000\r\n0\r\n\r\n\r\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(paths.sessionFile("Default")));
    EXPECT_EQ(bytesOf(paths.sessionFile("Default")), "");
    EXPECT_EQ(bytesOf(paths.reminderFile("Default")), "0000000\r\n22:30\r\n1\r\n1\r\n1\r\n");
    // Defaults are used while sound.db is missing; the generator does not invent one.
    EXPECT_FALSE(std::filesystem::exists(paths.soundFile()));
}

TEST_F(ProgramFolderTest, AlertSoundsAreShortPcmAndDistinct) {
    ASSERT_EQ(runGenerator(folder.folder()), 0);
    const Wav chime = parseWav(bytesOf(paths.defaultReminderSound()));
    const Wav alarm = parseWav(bytesOf(paths.defaultShutdownSound()));
    for (const Wav* wav : {&chime, &alarm}) {
        EXPECT_EQ(wav->channels, 1);
        EXPECT_EQ(wav->bits, 16);
        const double seconds = static_cast<double>(wav->samples.size()) / wav->rate;
        EXPECT_GT(seconds, 0.4);
        EXPECT_LT(seconds, 1.5);
        int peak = 0;
        for (std::int16_t s : wav->samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GT(peak, 16000);
        EXPECT_LT(peak, 32767);                         // headroom: nothing clipped
        EXPECT_LT(std::abs(wav->samples.front()), 200); // no click at either end
        EXPECT_LT(std::abs(wav->samples.back()), 200);
    }
    EXPECT_LT(crossingRate(alarm) * 2, crossingRate(chime)); // the alarm is much lower
    EXPECT_EQ(bursts(alarm), 3);
}

TEST_F(ProgramFolderTest, IconsHoldThreeSizesAndShowTheRunState) {
    ASSERT_EQ(runGenerator(folder.folder()), 0);
    double greenByState[2] = {0, 0};
    int state = 0;
    for (const auto& path : {paths.runningIcon(), paths.stoppedIcon()}) {
        QImageReader reader(QString::fromStdString(path.string()));
        ASSERT_EQ(reader.imageCount(), 3) << reader.errorString().toStdString();
        QList<int> sizes;
        QImage largest;
        for (int i = 0; i < reader.imageCount(); ++i) {
            ASSERT_TRUE(reader.jumpToImage(i));
            const QImage image = reader.read();
            ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
            EXPECT_EQ(image.width(), image.height());
            sizes << image.width();
            if (image.width() == 64)
                largest = image.convertToFormat(QImage::Format_ARGB32);
        }
        EXPECT_EQ(sizes, (QList<int>{64, 32, 16}));
        ASSERT_FALSE(largest.isNull());
        EXPECT_EQ(qAlpha(largest.pixel(0, 63)), 0); // transparent corner
        EXPECT_EQ(qAlpha(largest.pixel(32, 32)), 255);
        greenByState[state++] = greenness(largest);
    }
    EXPECT_GT(greenByState[0], 1.3);
    EXPECT_LT(greenByState[1], 1.1);
}

TEST_F(ProgramFolderTest, UserFilesSurviveAndInstalledFilesAreRenewed) {
    writeBytes(paths.configFile(), "Home\r\n1\r\n");
    writeBytes(paths.profileListFile(), "Home\r\n");
    writeBytes(paths.runningIcon(), "broken");
    ASSERT_EQ(runGenerator(folder.folder()), 0);
    EXPECT_EQ(bytesOf(paths.configFile()), "Home\r\n1\r\n");
    EXPECT_EQ(bytesOf(paths.profileListFile()), "Home\r\n");
    // profiles.db does not name the first profile: the user removed it, it stays removed.
    EXPECT_FALSE(std::filesystem::exists(paths.wholeDayFile("Default")));
    EXPECT_FALSE(std::filesystem::exists(paths.sessionFile("Default")));
    EXPECT_FALSE(QImage(QString::fromStdString(paths.runningIcon().string())).isNull());
}

TEST_F(ProgramFolderTest, MissingProfileFilesAreAddedAndExistingOnesKept) {
    ASSERT_EQ(runGenerator(folder.folder()), 0);
    const std::string sessions = "09:00\r\n12:00\r\n1111111\r\n0\r\n\r\n\r\n";
    writeBytes(paths.sessionFile("Default"), sessions);
    std::filesystem::remove(paths.reminderFile("Default"));
    const std::string config = bytesOf(paths.configFile());

    ASSERT_EQ(runGenerator(folder.folder()), 0);
    EXPECT_EQ(bytesOf(paths.sessionFile("Default")), sessions);
    EXPECT_EQ(bytesOf(paths.reminderFile("Default")), "0000000\r\n22:30\r\n1\r\n1\r\n1\r\n");
    EXPECT_EQ(bytesOf(paths.configFile()), config);
}

TEST_F(ProgramFolderTest, UnwritableFolderFailsWithAMessage) {
    const auto blocker = folder.folder() / "file";
    writeBytes(blocker, "x");
    EXPECT_NE(runGenerator(blocker / "program"), 0);
}

} // namespace
} // namespace tallowby::test
