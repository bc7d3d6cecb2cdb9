/* Sets IMAGE_FILE_AGGRESIVE_WS_TRIM in a PE image's file header: GNU ld has no option for it. */
#include <stdio.h>

#define AGGRESIVE_WS_TRIM 0x0010

static int ReadAt(FILE* file, long offset, unsigned char* bytes, size_t count)
{
    return fseek(file, offset, SEEK_SET) == 0 && fread(bytes, 1, count, file) == count;
}

int main(int argc, char** argv)
{
    FILE* file;
    unsigned char bytes[4];
    long header, characteristics;
    unsigned flags;

    if (argc != 2) {
        fprintf(stderr, "usage: set_ws_trim IMAGE\n");
        return 2;
    }
    file = fopen(argv[1], "r+b");
    if (!file) {
        perror(argv[1]);
        return 1;
    }
    /* e_lfanew at 0x3C points at "PE\0\0"; Characteristics is 18 bytes past the signature. */
    if (!ReadAt(file, 0x3C, bytes, 4)) goto bad;
    header = (long)(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | (unsigned long)bytes[3] << 24);
    if (!ReadAt(file, header, bytes, 4) || bytes[0] != 'P' || bytes[1] != 'E' || bytes[2] ||
        bytes[3])
        goto bad;
    characteristics = header + 4 + 18;
    if (!ReadAt(file, characteristics, bytes, 2)) goto bad;
    flags = (unsigned)(bytes[0] | bytes[1] << 8) | AGGRESIVE_WS_TRIM;
    bytes[0] = (unsigned char)flags;
    bytes[1] = (unsigned char)(flags >> 8);
    if (fseek(file, characteristics, SEEK_SET) != 0 || fwrite(bytes, 1, 2, file) != 2) goto bad;
    return fclose(file) == 0 ? 0 : 1;
bad:
    fprintf(stderr, "%s: not a PE image\n", argv[1]);
    fclose(file);
    return 1;
}
