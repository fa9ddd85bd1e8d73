#ifndef VELAECR_EXPORT_H
#define VELAECR_EXPORT_H

/* Marks a name as part of the library's public interface. Everything else is
 * hidden from the dynamic symbol table. */
#if defined(__GNUC__)
#define VELA_EXPORT __attribute__((visibility("default")))
#else
#define VELA_EXPORT
#endif

#endif
