// The link's receive state machine fed whatever the line brings, with byte time-outs (control 0)
// and resets (control 1) anywhere.

#include "fuzzsupport.h"

#include "commun/textdecode.h"
#include "link/framereceiver.h"

#include <QtGlobal>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>
#endif

namespace {

// Qt's own UTF-8 decoder, as a check independent of DecodeText.
bool validUtf8(const QByteArray& bytes)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return bytes.isValidUtf8(); // Qt 6.4's stateless QStringDecoder reports no error
#else
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
#endif
}

void checkComplete(const FrameReceiver& receiver)
{
    FUZZ_CHECK(receiver.frameDone() && receiver.frameOk() && receiver.position() == 0);
    const QByteArray& raw = receiver.rawFrame();
    const QByteArray& payload = receiver.payload();
    FUZZ_CHECK(!payload.contains(Frame::ETX));
    FUZZ_CHECK(raw.size() == payload.size() + 4 + Frame::TrailerSize);
    // What the program would have sent for these headers and this payload, trailer apart.
    const QByteArray rebuilt = Frame::build(receiver.header1(), receiver.header2(), payload);
    FUZZ_CHECK(rebuilt.left(rebuilt.size() - Frame::TrailerSize) ==
               raw.left(raw.size() - Frame::TrailerSize));
    const QString text = Frame::decodePayload(payload);
    if (validUtf8(payload))
        FUZZ_CHECK(text.toUtf8() == payload);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::quietMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FrameReceiver receiver;
    FuzzSupport::ControlStream stream(data, size);
    char byte = 0;
    int control = -1;
    while (stream.next(&byte, &control)) {
        if (control == 0) {
            const bool started = receiver.position() != 0;
            FUZZ_CHECK(receiver.expire() == started);
            FUZZ_CHECK(receiver.position() == 0);
            if (started)
                FUZZ_CHECK(receiver.frameDone() && !receiver.frameOk());
            continue;
        }
        if (control == 1) {
            receiver.reset();
            FUZZ_CHECK(receiver.position() == 0 && !receiver.frameDone() && receiver.payload().isEmpty());
            continue;
        }
        if (control > 0)
            continue;
        const int before = receiver.position();
        const FrameReceiver::Event event = receiver.feed(byte);
        FUZZ_CHECK(receiver.payload().size() <= FrameReceiver::PayloadCapacity);
        switch (event) {
        case FrameReceiver::Event::Skipped:
            FUZZ_CHECK(before == 0 && byte != Frame::STX && receiver.position() == 0);
            break;
        case FrameReceiver::Event::Stx:
            FUZZ_CHECK(before == 0 && receiver.position() == 1 && !receiver.frameDone());
            FUZZ_CHECK(receiver.rawFrame() == QByteArray(1, Frame::STX));
            break;
        case FrameReceiver::Event::Complete:
            checkComplete(receiver);
            break;
        case FrameReceiver::Event::Overflow:
            FUZZ_CHECK(receiver.frameDone() && !receiver.frameOk() && receiver.position() == 0);
            FUZZ_CHECK(receiver.payload().size() == FrameReceiver::PayloadCapacity);
            break;
        default:
            FUZZ_CHECK(before != 0 && receiver.position() != 0 && !receiver.frameDone());
            break;
        }
        // A frame that has begun is traced whole from its STX.
        if (receiver.position() != 0)
            FUZZ_CHECK(receiver.rawFrame().startsWith(Frame::STX));
    }
    // Whatever came before, a clean frame is received as sent.
    receiver.expire();
    const QByteArray payload = "Fil=5;Pos=0";
    for (const char c : Frame::build('F', 'G', payload))
        receiver.feed(c);
    FUZZ_CHECK(receiver.frameOk() && receiver.payload() == payload && receiver.header1() == 'F');
    return 0;
}
