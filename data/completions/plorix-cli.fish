# fish completion for plorix-cli

set -l __plorix_commands tables list add set delete settings fields log check keycodes run-script forecast simulate export import sync export-ics import-ics migrate
set -l __plorix_tables Categories Clipboard Configuration Contact ContactCategories Holidays Link Messages Schedule Scripting Todo WindowLookup

function __plorix_cli_table
    set -l words (commandline -opc)
    set -e words[1]
    set -l seen 0
    for w in $words
        switch $w
            case '-*'
                continue
        end
        set seen (math $seen + 1)
        if test $seen -eq 2
            echo $w
            return
        end
    end
end

complete -c plorix-cli -f
complete -c plorix-cli -s d -r -a '(__fish_complete_directories)' -d 'data folder'
complete -c plorix-cli -l database -r -a 'postgresql://' -d 'the tables on a PostgreSQL server'
complete -c plorix-cli -l help -d 'show the commands'
complete -c plorix-cli -l version -d 'show the version'
complete -c plorix-cli -n "not __fish_seen_subcommand_from $__plorix_commands" -a "$__plorix_commands"
complete -c plorix-cli -n "__fish_seen_subcommand_from list add set delete fields; and test -z (__plorix_cli_table)" -a "$__plorix_tables"
complete -c plorix-cli -n "__fish_seen_subcommand_from add set; and test -n (__plorix_cli_table)" -a '(plorix-cli fields (__plorix_cli_table) 2>/dev/null | cut -f1 | sed "s/\$/=/")'
complete -c plorix-cli -n "__fish_seen_subcommand_from add set; and test -n (__plorix_cli_table)" -a '(plorix-cli fields (__plorix_cli_table) 2>/dev/null | awk -F"\t" "\$5 != \"\" { n = split(\$5, v, \"|\"); for (i = 1; i <= n; i++) if (v[i] != \"(blank)\" && v[i] !~ /\\.\\./) print \$1 \"=\" v[i] }" | sed "s/=for [^:]*: /=/")'
complete -c plorix-cli -n "__fish_seen_subcommand_from list" -l key -r -a '(plorix-cli fields (__plorix_cli_table) 2>/dev/null | cut -f4 | tr , \n | sort -u)'
complete -c plorix-cli -n "__fish_seen_subcommand_from list" -l positions
complete -c plorix-cli -n "__fish_seen_subcommand_from tables list forecast simulate" -l json -d 'one JSON object per line'
complete -c plorix-cli -n "__fish_seen_subcommand_from export import" -a 'Schedule Todo Contact'
complete -c plorix-cli -n "__fish_seen_subcommand_from export import run-script keycodes export-ics import-ics" -F
complete -c plorix-cli -n "__fish_seen_subcommand_from sync" -a 'send receive'
complete -c plorix-cli -n "__fish_seen_subcommand_from settings" -a '(plorix-cli settings 2>/dev/null | cut -d= -f1)'
complete -c plorix-cli -n "__fish_seen_subcommand_from forecast" -l from -l count -l id
complete -c plorix-cli -n "__fish_seen_subcommand_from simulate" -l from -l to -l answer -l in-place
complete -c plorix-cli -n "__fish_seen_subcommand_from migrate" -l to -l from -r -a 'postgresql://'
