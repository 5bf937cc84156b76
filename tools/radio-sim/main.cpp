// ostrel-radio-sim: a simulated radio of this model on a pseudo-terminal, for demos, tests and
// benchmarks. It serves clone information, read and write like the radio does.
#include "RadioSim.h"

#include "core/cmcAppDir.h"
#include "model/indDataFile.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

volatile int g_stop = 0; // set by SIGTERM and SIGINT

void OnSignal(int) {
    g_stop = 1;
}

void Usage(FILE* out) {
    std::fprintf(out,
                 "usage: ostrel-radio-sim [options]\n"
                 "  --image FILE        memory image to serve (default Initial_LMR.ocd beside the program)\n"
                 "  --save FILE         after a successful write, save the memory there\n"
                 "  --link PATH         make PATH a symbolic link to the pseudo-terminal\n"
                 "  --password TEXT     protect the radio with a clone password\n"
                 "  --read-unprotected  the password protects writing only\n"
                 "  --echo              return every received byte, as a one-wire cable does\n"
                 "  --pace              no faster than the line speed (baud / 10 bytes per second)\n"
                 "  --once              exit after one read or write\n"
                 "  --verbose           log every frame taken in on standard error\n"
                 "  --fault KIND[:N]    drop-frame, bad-checksum, lower-case, end-count, silence,\n"
                 "                      refuse-write, write-result, wrong-model, data-version,\n"
                 "                      unplug (the simulator ends there, as a pulled USB cable),\n"
                 "                      corrupt-write (the first byte of data frame N of a write\n"
                 "                      is stored inverted, yet the write is acknowledged as good)\n"
                 "                      (N: the data frame it hits, default 100)\n"
                 "  --end HEX           last memory address in the clone information (default FF7F)\n"
                 "  --wide              8-character addresses in data frames\n"
                 "  --trunk N           trunking readiness level (default 16)\n"
                 "  --data-version N    data version (default 1)\n"
                 "  --serial TEXT       12 hexadecimal characters of the serial\n"
                 "  --revision HEX      firmware revision byte (default 10)\n"
                 "  --stats FILE        after each operation and at exit, append the bytes and the\n"
                 "                      seconds they took on the wire\n"
                 "Prints the pseudo-terminal's path; SIGTERM ends it.\n");
}

bool ParseFault(const std::string& text, RadioSimEngine::Options& o) {
    std::string kind = text.substr(0, text.find(':'));
    if (text.find(':') != std::string::npos)
        o.faultFrame = std::atoi(text.c_str() + text.find(':') + 1);
    using F = RadioSimEngine::Fault;
    static const struct {
        const char* name;
        F fault;
    } kFaults[] = {{"drop-frame", F::DropFrame},      {"bad-checksum", F::BadChecksum},
                   {"lower-case", F::LowerCaseHex},   {"end-count", F::WrongEndCount},
                   {"silence", F::Silence},           {"refuse-write", F::RefuseWrite},
                   {"write-result", F::WriteResult},  {"wrong-model", F::WrongModel},
                   {"data-version", F::DataVersion2}, {"unplug", F::Unplug},
                   {"corrupt-write", F::CorruptWrite}};
    for (const auto& f : kFaults) {
        if (kind == f.name) {
            o.fault = f.fault;
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    RadioSim::Options options;
    options.imagePath = cmcAppFile("Initial_LMR.ocd");
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "ostrel-radio-sim: %s needs a value\n", a.c_str());
                std::exit(64);
            }
            return argv[++i];
        };
        RadioSimEngine::Options& r = options.radio;
        if (a == "--image")
            options.imagePath = value();
        else if (a == "--save")
            options.savePath = value();
        else if (a == "--link")
            options.linkPath = value();
        else if (a == "--stats")
            options.statsPath = value();
        else if (a == "--password")
            r.password = value().substr(0, 16);
        else if (a == "--read-unprotected")
            r.readUnprotected = true;
        else if (a == "--echo")
            r.echo = true;
        else if (a == "--pace")
            options.pace = true;
        else if (a == "--verbose")
            options.verbose = true;
        else if (a == "--once")
            options.once = true;
        else if (a == "--wide")
            r.wide = true;
        else if (a == "--end")
            r.endAddress = static_cast<int32_t>(std::strtol(value().c_str(), nullptr, 16));
        else if (a == "--trunk")
            r.trunkLevel = static_cast<uint8_t>(std::atoi(value().c_str()));
        else if (a == "--data-version")
            r.dataVersion = static_cast<uint8_t>(std::atoi(value().c_str()));
        else if (a == "--serial")
            r.serial = value();
        else if (a == "--revision")
            r.revision = static_cast<uint8_t>(std::strtol(value().c_str(), nullptr, 16));
        else if (a == "--fault") {
            std::string f = value();
            if (!ParseFault(f, r)) {
                std::fprintf(stderr, "ostrel-radio-sim: unknown fault '%s'\n", f.c_str());
                return 64;
            }
        } else if (a == "--help" || a == "-h") {
            Usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "ostrel-radio-sim: unknown option '%s'\n", a.c_str());
            Usage(stderr);
            return 64;
        }
    }

    cmcEeprom loaded;
    loaded.SetSize(cmcEeprom::kWorkSize);
    const cmcKvtFile::FileError code = indDataFile::Load(options.imagePath, loaded);
    if (code != cmcKvtFile::FileError::Ok) {
        std::fprintf(stderr, "ostrel-radio-sim: cannot load %s (file error %d)\n", options.imagePath.c_str(),
                     cmcKvtFile::Code(code));
        return 66;
    }
    cmcEeprom radio;
    radio.SetSize(cmcEeprom::kRadioSize);
    radio.WriteBlock(0, loaded.Data(), cmcEeprom::kRadioSize);

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    RadioSim sim(options, radio);
    if (!sim.Open())
        return 71;
    std::printf("%s\n", sim.SlavePath().c_str());
    std::fflush(stdout);
    sim.Run(g_stop);
    return 0;
}
