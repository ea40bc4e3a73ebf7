# The usual formant analysis, as the peer of tessavox-batch measure: Burg LPC with one fixed
# ceiling per recording, F1-F3 read at points of every labelled interval of tier 1.
# Usage: praat --run measure_peer.praat LIST OUT POINTS
# LIST holds one line per recording: its .wav path, a space, the ceiling in Hz; the
# TextGrid lies beside it. POINTS are percentages, e.g. "50" or "20 50 80".
form Measure
    sentence list
    sentence out
    sentence points
endform
deleteFile: out$
lines = Read Strings from raw text file: list$
n = Get number of strings
for i to n
    selectObject: lines
    line$ = Get string: i
    wav$ = extractWord$ (line$, "")
    ceiling = extractNumber (line$, wav$ + " ")
    sound = Read from file: wav$
    tg$ = replace$ (wav$, ".wav", ".TextGrid", 1)
    grid = Read from file: tg$
    selectObject: sound
    formant = To Formant (burg): 0, 5, ceiling, 0.025, 50
    selectObject: grid
    intervals = Get number of intervals: 1
    for j to intervals
        selectObject: grid
        label$ = Get label of interval: 1, j
        if label$ <> ""
            t0 = Get start time of interval: 1, j
            t1 = Get end time of interval: 1, j
            result$ = wav$ + tab$ + label$
            selectObject: formant
            rest$ = points$
            while rest$ <> ""
                p = number (extractWord$ (rest$, ""))
                space = index (rest$, " ")
                if space = 0
                    rest$ = ""
                else
                    rest$ = right$ (rest$, length (rest$) - space)
                endif
                t = t0 + p / 100 * (t1 - t0)
                for f to 3
                    v = Get value at time: f, t, "hertz", "linear"
                    result$ = result$ + tab$ + fixed$ (v, 1)
                endfor
            endwhile
            appendFileLine: out$, result$
        endif
    endfor
    removeObject: sound, grid, formant
endfor
