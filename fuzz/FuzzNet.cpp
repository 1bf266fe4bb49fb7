// FuzzNet: any bytes as a message from a hostile partner, read by the decoder and handed to a
// session in the middle of a match.
#include "net/MemoryTransport.h"
#include "net/NetSession.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    TNetMessage message;
    std::string error;
    if (DecodeNetMessage(data, size, message, error)) {
        // What is accepted is written back byte for byte (a goodbye is read across versions).
        if (message.Kind != TNetKind::Bye && EncodeNetMessage(message) != bytes) __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();
    }

    // Two sessions greet and begin a match; then the bytes arrive at the host among honest inputs.
    const auto line = std::make_shared<TMemoryLine>();
    TNetHello hello;
    hello.GameVersion = ReplayGameVersion;
    TNetSession host(MemoryEnd(line, 0), 0, hello);
    TNetSession guest(MemoryEnd(line, 1), 1, hello);
    for (int i = 0; i < 3; ++i) {
        line->Now += 10;
        host.Receive(line->Now, 0), guest.Receive(line->Now, 0);
        host.Send(line->Now), guest.Send(line->Now);
    }
    host.Begin(TReplayStart{}, 2);
    for (int i = 0; i < 20; ++i) {
        line->Now += 10;
        if (i == 10)
            line->ToSide[0].push_front(TMemoryLine::TFlight{0, TNetEvent{TNetEvent::Received, bytes}});
        for (TNetSession* s : {&host, &guest}) {
            s->Receive(line->Now, 0);
            TNetStart start;
            s->TakeStart(start);
            if (s->WantsLocalInput()) s->AddLocalInput(uint8_t(i));
            s->Send(line->Now);
            if (s->Ready()) s->Take();
            if (s->TicksTaken() % 10 == 0) s->AddHash(s->TicksTaken(), 1);
        }
    }
    return 0;
}
