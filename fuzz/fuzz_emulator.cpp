// The emulator's reader end: arbitrary bytes through its request parser, every whole frame
// answered by the reader model, cards put on and taken off (controls 1 to 6), silences
// (control 0). Answers must reach the program's receiver as sent, and the state the emulator
// would persist must load back unchanged.

#include "fuzzsupport.h"

#include "link/framereceiver.h"
#include "readermodel.h"
#include "requestparser.h"

#include <QJsonDocument>

namespace {

const ReaderModel* prototype = nullptr;

void checkAnswer(char letter, const ReaderModel::Answer& answer)
{
    FUZZ_CHECK(answer.status >= ReaderStatus::Ok && answer.status <= ReaderStatus::Full);
    // Every answer must fit the program's receive buffer.
    FUZZ_CHECK(answer.payload.size() <= FrameReceiver::PayloadCapacity);
    FrameReceiver receiver;
    for (const char c : RequestParser::answerFrame(letter, answer.status, answer.payload))
        receiver.feed(c);
    QByteArray sent = answer.payload;
    sent.replace(RequestParser::Etx, '?');
    FUZZ_CHECK(receiver.frameDone() && receiver.frameOk() && receiver.payload() == sent);
    FUZZ_CHECK(receiver.header1() == letter && receiver.header2() == answer.status);
}

void handle(ReaderModel& model, const QVector<RequestFrame>& frames)
{
    for (const RequestFrame& frame : frames) {
        FUZZ_CHECK(frame.kind == RequestFrame::Noise || frame.payload.size() <= RequestParser::MaxPayload);
        if (frame.kind != RequestFrame::Complete)
            continue;
        FUZZ_CHECK(!frame.payload.contains(RequestParser::Stx) &&
                   !frame.payload.contains(RequestParser::Etx));
        checkAnswer(frame.letter, model.handle(frame.letter, frame.subLetter, frame.payload));
        FUZZ_CHECK(model.file(5).size() <= ReaderModel::MaxFileRecords);
        FUZZ_CHECK(model.file(18).size() <= ReaderModel::MaxFileRecords);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietMessages();
    prototype = new ReaderModel;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReaderModel model = *prototype;
    RequestParser parser;
    FuzzSupport::ControlStream stream(data, size);
    QByteArray chunk;
    char byte = 0;
    int control = -1;
    while (stream.next(&byte, &control)) {
        if (control < 0) {
            chunk.append(byte);
            continue;
        }
        handle(model, parser.feed(chunk));
        chunk.clear();
        QStringList debug;
        if (control == 0) {
            handle(model, parser.expire());
            FUZZ_CHECK(parser.idle());
        } else if (control <= 5) {
            const bool inRange = control - 1 < model.cards().size();
            FUZZ_CHECK(model.present(control - 1, &debug) == inRange);
            if (inRange)
                FUZZ_CHECK(model.presentIndex() == control - 1);
        } else if (control == 6) {
            model.remove();
            FUZZ_CHECK(model.presentIndex() == -1);
        } else {
            model.pollPeek();
        }
    }
    handle(model, parser.feed(chunk));
    handle(model, parser.expire());

    // What the emulator writes to its state file, read back by a fresh emulator.
    const QJsonObject state = model.stateJson();
    const QJsonDocument doc = QJsonDocument::fromJson(QJsonDocument(state).toJson());
    FUZZ_CHECK(doc.isObject());
    ReaderModel fresh = *prototype;
    QString error;
    FUZZ_CHECK(fresh.applyState(doc.object(), &error));
    FUZZ_CHECK(fresh.stateJson() == state);
    return 0;
}
