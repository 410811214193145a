// One print job without a window, for the benchmark: pelto-upload HOST PORT USER PASSWORD FILE...
// logs in, binary type, uploads every file under its own name, logs out.
#include <cstdio>
#include <string>

#include "core/errors.h"
#include "core/ftp_client.h"

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s HOST PORT USER PASSWORD FILE...\n", argv[0]);
        return 2;
    }
    pelto::TNMFTP ftp;
    ftp.Host = argv[1];
    ftp.Port = std::stoi(argv[2]);
    ftp.UserID = argv[3];
    ftp.Password = argv[4];
    try {
        ftp.Connect();
        ftp.Mode(2);
        for (int i = 5; i < argc; ++i) {
            const std::string path = argv[i];
            ftp.Upload(path, path.substr(path.find_last_of('/') + 1));
        }
        ftp.Disconnect();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelto-upload: %s\n", e.what());
        return 1;
    }
    return 0;
}
