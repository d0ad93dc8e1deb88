/* Walks an EMF file record by record and runs libUEMF's own record checker on each, as an
 * independent judge of the structure we write. Exit 0 when every record passes. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <uemf.h>
#include <uemf_safe.h>

static uint32_t read_u32(const unsigned char *p) {
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static int check_file(const char *path) {
  FILE *f = fopen(path, "rb");
  if (!f) {
    fprintf(stderr, "%s: cannot open\n", path);
    return 1;
  }
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  fseek(f, 0, SEEK_SET);
  if (size < 8 || size > (1L << 30)) {
    fprintf(stderr, "%s: implausible size %ld\n", path, size);
    fclose(f);
    return 1;
  }
  unsigned char *data = malloc((size_t)size);
  if (!data || fread(data, 1, (size_t)size, f) != (size_t)size) {
    fprintf(stderr, "%s: cannot read\n", path);
    free(data);
    fclose(f);
    return 1;
  }
  fclose(f);
  int status = 0, records = 0;
  long offset = 0;
  while (offset + 8 <= size) {
    uint32_t type = read_u32(data + offset), length = read_u32(data + offset + 4);
    if (length < 8 || length % 4 != 0 || (long)length > size - offset) {
      fprintf(stderr, "%s: record %d at offset %ld: bad size %u\n", path, records, offset, length);
      status = 1;
      break;
    }
    /* libUEMF reads records in place; give it an aligned copy. */
    char *copy = malloc(length);
    memcpy(copy, data + offset, length);
    if (!U_emf_record_safe(copy)) {
      fprintf(stderr, "%s: record %d (type %u) at offset %ld fails libUEMF's check\n", path,
              records, type, offset);
      status = 1;
    }
    free(copy);
    records++;
    offset += length;
    if (type == U_EMR_EOF) break;
  }
  if (status == 0 && offset != size) {
    fprintf(stderr, "%s: %ld bytes after the end-of-file record\n", path, size - offset);
    status = 1;
  }
  if (status == 0) printf("%s: %d records pass libUEMF's checks\n", path, records);
  free(data);
  return status;
}

int main(int argc, char **argv) {
  int status = 0;
  for (int i = 1; i < argc; i++) status |= check_file(argv[i]);
  return status;
}
