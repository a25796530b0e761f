       IDENTIFICATION DIVISION.
       PROGRAM-ID. REPL1.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       01  A PIC X.
       01  B PIC X.
       01  C PIC X.
       PROCEDURE DIVISION.
       P1.
       REPLACE ==MOVE A TO B== BY ==MOVE B TO  C==
               ==NOT== BY ====
               ==DISPLAY C. == BY ====.
           MOVE   A
                  TO B ,  ; .
           IF A NOT = B
               DISPLAY A.
           DISPLAY B.
           DISPLAY C.
           DISPLAY A.
       REPLACE OFF.
           STOP RUN.
