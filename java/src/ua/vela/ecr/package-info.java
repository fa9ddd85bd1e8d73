/**
 * Java access to the velaecr payment-terminal client: the class
 * {@link ua.vela.ecr.VELALib} and its native library {@code libvelaecrjni.so}.
 */
package ua.vela.ecr;
